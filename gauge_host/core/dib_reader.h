// dib_reader.h: reads a device-independent bitmap as a module's resource
// holds it: BITMAPINFOHEADER, colour table, pixel rows, no file header.
//
// Usage:
//   Dib dib;
//   std::string error;
//   if (!ReadDib(bytes, size, &dib, &error)) ... error says what is wrong
//
// Uncompressed 8-bit (colour table) and 24-bit (blue, green, red) bitmaps,
// bottom-up or top-down. Every size is checked against the buffer before a
// byte is read, so any input gives either a bitmap or an error.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

struct Dib {
    int width = 0, height = 0;
    int bits_per_pixel = 0;
    int colours = 0;  // colour table entries; 0 for 24-bit
    std::vector<uint8_t> rgb;  // red, green, blue, top row first
};

constexpr int MaxDibDimension = 16384;

bool ReadDib(const uint8_t* bytes, size_t size, Dib* dib, std::string* error);
