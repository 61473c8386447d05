// libFuzzer target: any bytes as a reference picture give an image whose
// pixels, and each animation frame's, fill its size exactly, or one error.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include "common/png_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DecodedPng image;
    std::string error;
    if (!DecodePng(std::vector<uint8_t>(data, data + size), &image, &error)) {
        if (error.empty())
            abort();
        return 0;
    }
    const size_t bytes = size_t(image.width) * size_t(image.height) * 3;
    if (image.width <= 0 || image.height <= 0 || image.width > MaxPngDimension || image.height > MaxPngDimension ||
        image.rgb.size() != bytes)
        abort();
    for (const DecodedFrame& frame : image.frames)
        if (frame.rgb.size() != bytes || frame.x + frame.width > image.width || frame.y + frame.height > image.height)
            abort();
    return 0;
}
