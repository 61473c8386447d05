#include "gauge_host/core/dib_reader.h"

#include "common/byte_order.h"
#include "common/fail.h"

namespace {

constexpr uint32_t InfoHeaderSize = 40;  // BITMAPINFOHEADER; V4 and V5 headers are longer
constexpr uint32_t UncompressedRgb = 0;  // BI_RGB
constexpr uint64_t MaxColours = 256;     // an 8-bit pixel's reach

// The BITMAPINFOHEADER fields the reading needs.
struct DibHeader {
    uint32_t size = 0;
    int32_t width = 0, stored_height = 0;  // a negative height: rows top-down
    uint16_t planes = 0, bits = 0;
    uint32_t compression = 0, colours_used = 0;
};

// Where the colour table and the rows lie, each size checked against the buffer.
struct DibLayout {
    int height = 0;
    bool bottom_up = true;
    uint64_t colours = 0;  // colour table entries
    uint64_t stride = 0;   // a row's bytes, padded to 4
    uint64_t table_at = 0, rows_at = 0;
};

bool ReadHeader(const uint8_t* bytes, size_t size, DibHeader* h, std::string* error)
{
    if (size < InfoHeaderSize)
        return Fail(error, "bitmap of " + std::to_string(size) + " bytes is shorter than its 40-byte header");
    h->size = LittleEndian32(bytes);
    h->width = int32_t(LittleEndian32(bytes + 4));
    h->stored_height = int32_t(LittleEndian32(bytes + 8));
    h->planes = LittleEndian16(bytes + 12);
    h->bits = LittleEndian16(bytes + 14);
    h->compression = LittleEndian32(bytes + 16);
    h->colours_used = LittleEndian32(bytes + 32);

    if (h->size < InfoHeaderSize)
        return Fail(error, "bitmap header size " + std::to_string(h->size) + " is shorter than the 40-byte header");
    if (h->size > size)
        return Fail(error, "bitmap header size " + std::to_string(h->size) + " does not fit " + std::to_string(size) +
                               " bytes");
    if (h->width <= 0 || h->width > MaxDibDimension || h->stored_height == 0 || h->stored_height == INT32_MIN ||
        (h->stored_height < 0 ? -h->stored_height : h->stored_height) > MaxDibDimension)
        return Fail(error, "bitmap size " + std::to_string(h->width) + " x " + std::to_string(h->stored_height) +
                               " is outside 1.." + std::to_string(MaxDibDimension));
    if (h->planes != 1)
        return Fail(error, "bitmap has " + std::to_string(h->planes) + " planes, expected 1");
    if (h->compression != UncompressedRgb)
        return Fail(error, "bitmap compression " + std::to_string(h->compression) +
                               " is not supported (only uncompressed)");
    if (h->bits != 8 && h->bits != 24)
        return Fail(error, "bitmap has " + std::to_string(h->bits) + " bits per pixel; only 8 and 24 are supported");
    return true;
}

// An 8-bit bitmap's colour table: as many entries as the header says, all
// 256 when it says 0. A 24-bit one has none.
bool PaletteEntries(const DibHeader& h, uint64_t* colours, std::string* error)
{
    *colours = 0;
    if (h.bits != 8)
        return true;
    *colours = h.colours_used ? h.colours_used : MaxColours;
    if (*colours > MaxColours)
        return Fail(error, "bitmap colour table of " + std::to_string(h.colours_used) + " entries; at most 256");
    return true;
}

bool Locate(const DibHeader& h, size_t size, DibLayout* layout, std::string* error)
{
    if (!PaletteEntries(h, &layout->colours, error))
        return false;
    layout->bottom_up = h.stored_height > 0;
    layout->height = layout->bottom_up ? h.stored_height : -h.stored_height;
    layout->stride = (uint64_t(h.width) * h.bits + 31) / 32 * 4;
    layout->table_at = h.size;
    layout->rows_at = layout->table_at + layout->colours * 4;
    const uint64_t needed = layout->rows_at + layout->stride * layout->height;
    if (needed > size)
        return Fail(error, "bitmap of " + std::to_string(h.width) + " x " + std::to_string(layout->height) + " at " +
                               std::to_string(h.bits) + " bits needs " + std::to_string(needed) + " bytes, has " +
                               std::to_string(size));
    return true;
}

// The rows into dib->rgb, top row first; an 8-bit pixel must name an
// entry of the table.
bool ReadRows(const uint8_t* bytes, const DibLayout& layout, Dib* dib, std::string* error)
{
    const uint8_t* table = bytes + layout.table_at;
    const int width = dib->width, height = dib->height;
    const bool indexed = dib->bits_per_pixel == 8;
    dib->rgb.resize(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = bytes + layout.rows_at + layout.stride * (layout.bottom_up ? height - 1 - y : y);
        uint8_t* out = dib->rgb.data() + size_t(y) * width * 3;
        for (int x = 0; x < width; ++x, out += 3) {
            if (indexed && row[x] >= layout.colours)
                return Fail(error, "bitmap pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                                       ") uses colour " + std::to_string(row[x]) + " of a " +
                                       std::to_string(layout.colours) + "-entry table");
            const uint8_t* bgr = indexed ? table + row[x] * 4 : row + x * 3;
            out[0] = bgr[2];
            out[1] = bgr[1];
            out[2] = bgr[0];
        }
    }
    return true;
}

}  // namespace

bool ReadDib(const uint8_t* bytes, size_t size, Dib* dib, std::string* error)
{
    *dib = {};
    DibHeader header;
    DibLayout layout;
    if (!ReadHeader(bytes, size, &header, error) || !Locate(header, size, &layout, error))
        return false;
    dib->width = header.width;
    dib->height = layout.height;
    dib->bits_per_pixel = header.bits;
    dib->colours = int(layout.colours);
    if (!ReadRows(bytes, layout, dib, error)) {
        *dib = {};
        return false;
    }
    return true;
}
