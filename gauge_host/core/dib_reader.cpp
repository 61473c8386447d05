#include "gauge_host/core/dib_reader.h"

#include "common/byte_order.h"
#include "common/fail.h"

namespace {

constexpr uint32_t InfoHeaderSize = 40;  // BITMAPINFOHEADER; V4 and V5 headers are longer
constexpr uint32_t UncompressedRgb = 0;  // BI_RGB

}  // namespace

bool ReadDib(const uint8_t* bytes, size_t size, Dib* dib, std::string* error)
{
    *dib = {};
    if (size < InfoHeaderSize)
        return Fail(error, "bitmap of " + std::to_string(size) + " bytes is shorter than its 40-byte header");
    const uint32_t header_size = LittleEndian32(bytes);
    const int32_t width = int32_t(LittleEndian32(bytes + 4)), stored_height = int32_t(LittleEndian32(bytes + 8));
    const uint16_t planes = LittleEndian16(bytes + 12), bits = LittleEndian16(bytes + 14);
    const uint32_t compression = LittleEndian32(bytes + 16), colours_used = LittleEndian32(bytes + 32);

    if (header_size < InfoHeaderSize)
        return Fail(error, "bitmap header size " + std::to_string(header_size) + " is shorter than the 40-byte header");
    if (header_size > size)
        return Fail(error, "bitmap header size " + std::to_string(header_size) + " does not fit " +
                               std::to_string(size) + " bytes");
    if (width <= 0 || width > MaxDibDimension || stored_height == 0 || stored_height == INT32_MIN ||
        (stored_height < 0 ? -stored_height : stored_height) > MaxDibDimension)
        return Fail(error, "bitmap size " + std::to_string(width) + " x " + std::to_string(stored_height) +
                               " is outside 1.." + std::to_string(MaxDibDimension));
    if (planes != 1)
        return Fail(error, "bitmap has " + std::to_string(planes) + " planes, expected 1");
    if (compression != UncompressedRgb)
        return Fail(error, "bitmap compression " + std::to_string(compression) + " is not supported (only uncompressed)");
    if (bits != 8 && bits != 24)
        return Fail(error, "bitmap has " + std::to_string(bits) + " bits per pixel; only 8 and 24 are supported");

    const bool bottom_up = stored_height > 0;
    const int height = bottom_up ? stored_height : -stored_height;
    uint64_t colours = 0;
    if (bits == 8) {
        colours = colours_used ? colours_used : 256;
        if (colours > 256)
            return Fail(error, "bitmap colour table of " + std::to_string(colours_used) + " entries; at most 256");
    }
    const uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
    const uint64_t table_end = uint64_t(header_size) + colours * 4;
    const uint64_t needed = table_end + stride * height;
    if (needed > size)
        return Fail(error, "bitmap of " + std::to_string(width) + " x " + std::to_string(height) + " at " +
                               std::to_string(bits) + " bits needs " + std::to_string(needed) + " bytes, has " +
                               std::to_string(size));

    const uint8_t* table = bytes + header_size;
    const uint8_t* rows = bytes + table_end;
    dib->width = width;
    dib->height = height;
    dib->bits_per_pixel = bits;
    dib->colours = int(colours);
    dib->rgb.resize(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = rows + stride * (bottom_up ? height - 1 - y : y);
        uint8_t* out = dib->rgb.data() + size_t(y) * width * 3;
        for (int x = 0; x < width; ++x, out += 3) {
            const uint8_t* bgr = bits == 24 ? row + x * 3 : table + row[x] * 4;
            if (bits == 8 && row[x] >= colours) {
                *dib = {};
                return Fail(error, "bitmap pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                                       ") uses colour " + std::to_string(row[x]) + " of a " +
                                       std::to_string(colours) + "-entry table");
            }
            out[0] = bgr[2];
            out[1] = bgr[1];
            out[2] = bgr[0];
        }
    }
    return true;
}
