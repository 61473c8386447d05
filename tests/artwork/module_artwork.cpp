#include "tests/artwork/module_artwork.h"

#include "common/fail.h"
#include "common/byte_order.h"

bool DecodeResourceBitmap(const std::vector<uint8_t>& d, Bitmap* b, std::string* error)
{
    *b = {};
    if (d.size() < 40)
        return Fail(error, "bitmap shorter than its header");
    b->header_size = LittleEndian32(&d[0]);
    b->width = int32_t(LittleEndian32(&d[4]));
    b->height = b->stored_height = int32_t(LittleEndian32(&d[8]));
    b->planes = LittleEndian16(&d[12]);
    b->bits = LittleEndian16(&d[14]);
    b->compression = LittleEndian32(&d[16]);
    b->image_size = LittleEndian32(&d[20]);
    b->pixels_per_metre_x = int32_t(LittleEndian32(&d[24]));
    b->pixels_per_metre_y = int32_t(LittleEndian32(&d[28]));
    b->colours_used = LittleEndian32(&d[32]);
    b->colours_important = LittleEndian32(&d[36]);
    if (b->header_size != 40 || b->compression != 0 || (b->bits != 24 && b->bits != 8) || b->width <= 0 ||
        b->height == 0)
        return Fail(error, "not an uncompressed 24- or 8-bit bitmap");
    const size_t colours = b->bits == 8 ? (b->colours_used ? b->colours_used : 256) : 0;
    const size_t row_bytes = (size_t(b->width) * b->bits / 8 + 3) & ~size_t(3);
    const bool bottom_up = b->height > 0;
    if (!bottom_up)
        b->height = -b->height;
    const size_t rows_at = 40 + 4 * colours;
    if (d.size() < rows_at + row_bytes * b->height)
        return Fail(error, "bitmap shorter than its pixels");
    for (size_t i = 0; i < colours; ++i) {
        const size_t at = 40 + 4 * i;
        b->colour_table.push_back({d[at + 2], d[at + 1], d[at]});
        b->colour_table_reserved.push_back(d[at + 3]);
    }
    b->first_stored_row.assign(d.begin() + rows_at, d.begin() + rows_at + row_bytes);
    for (int y = 0; y < b->height; ++y) {
        const size_t row = rows_at + row_bytes * size_t(bottom_up ? b->height - 1 - y : y);
        for (int x = 0; x < b->width; ++x) {
            if (b->bits == 24) {
                const size_t at = row + 3 * size_t(x);
                b->pixels.push_back({d[at + 2], d[at + 1], d[at]});
            } else {
                const uint8_t index = d[row + x];
                if (index >= colours)
                    return Fail(error, "pixel index beyond the colour table");
                b->indices.push_back(index);
                b->pixels.push_back(b->colour_table[index]);
            }
        }
    }
    return true;
}

const ModuleArtwork& LoadModuleArtwork()
{
    static const ModuleArtwork artwork = [] {
        ModuleArtwork a;
        a.path = ZARO_GAU;
        std::string error;
        if (!ReadPeResources(a.path, &a.resources, &error)) {
            a.error = a.path + ": " + error;
            return a;
        }
        const PeResource* face = FindPeResource(a.resources, RESOURCE_BITMAP, 4357);
        const PeResource* knob = FindPeResource(a.resources, RESOURCE_BITMAP, 4358);
        if (!face || !knob)
            a.error = a.path + ": bitmap 4357 or 4358 missing";
        else if (!DecodeResourceBitmap(face->data, &a.face, &error) ||
                 !DecodeResourceBitmap(knob->data, &a.knob, &error))
            a.error = a.path + ": " + error;
        return a;
    }();
    return artwork;
}
