// bitmap_file.h: the two .bmp formats the module's resources use.
//
// Both are uncompressed and bottom-up (first stored row = bottom row), at
// 11,811 pixels per metre (300 dpi), as the resource compiler copies them
// into the module after dropping the 14-byte file header:
//   Bgr24    3 bytes per pixel, blue, green, red;
//   Indexed8 1 byte per pixel, an index into a colour table of
//            (blue, green, red, 0) entries.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "resources/painter.h"

// Rows top first, like Image; one palette index per pixel.
struct IndexedImage {
    int width = 0, height = 0;
    std::vector<uint8_t> indices;
    std::vector<Rgb> palette;
};

std::vector<uint8_t> EncodeBgr24(const Image& image);
std::vector<uint8_t> EncodeIndexed8(const IndexedImage& image);

// The image's colours as an Image, for the PNG copy.
Image ExpandPalette(const IndexedImage& image);

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error);
