// module_artwork.h: the face and knob bitmaps and the version block as the
// built ZARO.gau carries them, read once per test program.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "tests/artwork/pe_resources.h"

struct Colour {
    uint8_t r, g, b;
    bool operator==(const Colour&) const = default;
    bool IsGrey() const { return r == g && g == b; }
};

// A resource bitmap: BITMAPINFOHEADER, colour table, rows.
struct Bitmap {
    uint32_t header_size = 0;
    int32_t width = 0, height = 0;
    int32_t stored_height = 0;  // as in the header: positive for bottom-up rows
    uint16_t planes = 0, bits = 0;
    uint32_t compression = 0, image_size = 0;
    int32_t pixels_per_metre_x = 0, pixels_per_metre_y = 0;
    uint32_t colours_used = 0, colours_important = 0;
    std::vector<Colour> colour_table;
    std::vector<uint8_t> colour_table_reserved;  // the fourth byte of each entry
    std::vector<uint8_t> first_stored_row;       // raw bytes, before any flipping
    // Top row first, in display order.
    std::vector<Colour> pixels;
    std::vector<uint8_t> indices;  // 8-bit bitmaps only

    const Colour& at(int x, int y) const { return pixels[size_t(y) * width + x]; }
    uint8_t index(int x, int y) const { return indices[size_t(y) * width + x]; }
};

// 24-bit and 8-bit uncompressed bitmaps, as the module stores them.
bool DecodeResourceBitmap(const std::vector<uint8_t>& data, Bitmap* bitmap, std::string* error);

struct ModuleArtwork {
    std::string path, error;  // error empty when everything was read
    std::vector<PeResource> resources;
    Bitmap face, knob;
};

// ZARO.gau from the build's dist folder.
const ModuleArtwork& LoadModuleArtwork();
