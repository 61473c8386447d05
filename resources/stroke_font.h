// stroke_font.h: the face's lettering as centre lines, stroked by the painter.
//
// A light upright sans-serif with the digits 0 1 2 4 6 8 and the capitals
// of the caption. Glyphs are drawn in units of the capital height: the flat
// tops lie on y = 0 and the baselines on y = 1, y downward; round letters
// overshoot a little. Text is fitted into a box rather than set at a point
// size, because the face fixes every label's ink box to the pixel.
#pragma once

#include <string_view>
#include <vector>

#include "resources/painter.h"

using Polylines = std::vector<std::vector<Point>>;

// The summed widths of the glyphs' centre lines, in capital heights; with
// the gaps and stroke width it gives the width a text takes.
double CentreLineWidth(std::string_view text);

// The centre lines of text (no spaces) placed so that its strokes of the
// given width reach exactly from ink.left to ink.right, and its flat tops
// and baselines exactly to ink.top and ink.bottom; the gap between glyphs
// takes up whatever width the glyphs leave.
Polylines LayOutText(std::string_view text, Box ink, double stroke_width);
