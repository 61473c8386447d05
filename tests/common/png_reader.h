// png_reader.h: decodes the PNG files the project writes (8-bit RGB, not
// interlaced), checking every chunk's CRC; zlib inflates the pixel stream.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

struct DecodedPng {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // top row first, width * 3 bytes a row
    std::vector<std::string> chunks;  // chunk types in file order
};

bool DecodePng(const std::vector<uint8_t>& png, DecodedPng* image, std::string* error);

