// artwork.h: the two bitmaps of ZARO.gau, drawn from their geometry.
#pragma once

#include "resources/bitmap_file.h"

// Bitmap 4357: 600 x 600, drawn by FaceBackground.
Image DrawFace();

// Bitmap 4358: 400 x 457 in 90 greys, turned by YawKnob about (200, 200).
IndexedImage DrawKnob();
