#include "resources/bitmap_file.h"

#include <stdio.h>

#include "common/byte_order.h"

namespace {

constexpr uint32_t FileHeaderSize = 14, InfoHeaderSize = 40;
constexpr int32_t PixelsPerMetre = 11811;

// File header and BITMAPINFOHEADER; the caller appends the colour table and rows.
std::vector<uint8_t> Headers(int width, int height, int bits, uint32_t colours)
{
    const uint32_t row_bytes = (uint32_t(width) * bits / 8 + 3) & ~3u;
    const uint32_t image_size = row_bytes * uint32_t(height);
    const uint32_t offset = FileHeaderSize + InfoHeaderSize + 4 * colours;
    std::vector<uint8_t> out;
    out.reserve(offset + image_size);
    out.push_back('B');
    out.push_back('M');
    AppendLittleEndian(&out, offset + image_size, 4);
    AppendLittleEndian(&out, 0, 4);  // reserved
    AppendLittleEndian(&out, offset, 4);
    AppendLittleEndian(&out, InfoHeaderSize, 4);
    AppendLittleEndian(&out, uint32_t(width), 4);
    AppendLittleEndian(&out, uint32_t(height), 4);  // positive: bottom-up
    AppendLittleEndian(&out, 1, 2);  // planes
    AppendLittleEndian(&out, uint16_t(bits), 2);
    AppendLittleEndian(&out, 0, 4);  // BI_RGB
    AppendLittleEndian(&out, image_size, 4);
    AppendLittleEndian(&out, uint32_t(PixelsPerMetre), 4);
    AppendLittleEndian(&out, uint32_t(PixelsPerMetre), 4);
    AppendLittleEndian(&out, colours, 4);
    AppendLittleEndian(&out, 0, 4);  // all colours important
    return out;
}

void PadRow(std::vector<uint8_t>* out, size_t row_bytes)
{
    while (row_bytes++ % 4)
        out->push_back(0);
}

}  // namespace

std::vector<uint8_t> EncodeBgr24(const Image& image)
{
    std::vector<uint8_t> out = Headers(image.width, image.height, 24, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgb& c = image.at(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        PadRow(&out, size_t(image.width) * 3);
    }
    return out;
}

std::vector<uint8_t> EncodeIndexed8(const IndexedImage& image)
{
    std::vector<uint8_t> out = Headers(image.width, image.height, 8, uint32_t(image.palette.size()));
    for (const Rgb& c : image.palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* row = &image.indices[size_t(y) * image.width];
        out.insert(out.end(), row, row + image.width);
        PadRow(&out, size_t(image.width));
    }
    return out;
}

Image ExpandPalette(const IndexedImage& image)
{
    Image expanded;
    expanded.width = image.width;
    expanded.height = image.height;
    for (uint8_t index : image.indices)
        expanded.pixels.push_back(image.palette[index]);
    return expanded;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) {
        *error = "cannot create " + path;
        return false;
    }
    bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = fclose(file) == 0 && written;
    if (!written)
        *error = "cannot write " + path;
    return written;
}
