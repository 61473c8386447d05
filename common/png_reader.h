// png_reader.h: decodes the PNG files the project writes -- 8-bit RGB, not
// interlaced -- and the frames of an animated one (APNG), checking every
// chunk's CRC and the frames' sequence; zlib inflates the pixel streams.
//
// Usage:
//   DecodedPng image;
//   if (!DecodePng(bytes, &image, &error)) ...  // error: what is wrong
//   image.rgb                                   // the default image
//   image.frames[i].rgb, .delay_numerator       // an APNG's frames, whole
//
// Each APNG frame is drawn over the picture before it, as the project's
// writer means it (its region replaces those pixels, nothing is disposed);
// other disposal and blending are refused.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

// Larger images, and animations whose frames would take more than
// MaxPngFrameBytes whole, are refused before anything is allocated for
// them: a reference picture may be any file. gauge-host draws 4800 x 4800
// at most.
constexpr int MaxPngDimension = 8192;
constexpr size_t MaxPngFrameBytes = size_t(1) << 30;

struct DecodedFrame {
    int width = 0, height = 0, x = 0, y = 0;  // the region it replaces
    int delay_numerator = 0, delay_denominator = 0;  // seconds = numerator / denominator
    std::vector<uint8_t> rgb;  // the whole picture once it is drawn, as DecodedPng::rgb
};

struct DecodedPng {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // top row first, width * 3 bytes a row
    std::vector<std::string> chunks;  // chunk types in file order
    std::vector<DecodedFrame> frames;  // empty for a still image
};

bool DecodePng(const std::vector<uint8_t>& png, DecodedPng* image, std::string* error);
