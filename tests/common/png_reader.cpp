#include "tests/common/png_reader.h"
#include "common/fail.h"

#include <stdlib.h>
#include <string.h>
#include <zlib.h>

namespace {

uint32_t BigEndian(const uint8_t* p) { return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

int Paeth(int a, int b, int c)
{
    const int p = a + b - c, pa = abs(p - a), pb = abs(p - b), pc = abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

}  // namespace

bool DecodePng(const std::vector<uint8_t>& png, DecodedPng* image, std::string* error)
{
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    *image = {};
    if (png.size() < 8 || memcmp(png.data(), signature, 8) != 0)
        return Fail(error, "no PNG signature");
    std::vector<uint8_t> stream;
    bool ended = false;
    for (size_t at = 8; at < png.size();) {
        if (ended)
            return Fail(error, "bytes after IEND");
        if (png.size() - at < 12)
            return Fail(error, "truncated chunk");
        const uint32_t length = BigEndian(&png[at]);
        if (png.size() - at - 12 < length)
            return Fail(error, "chunk longer than the file");
        const std::string type(png.begin() + at + 4, png.begin() + at + 8);
        const uint8_t* data = &png[at + 8];
        if (crc32(0, &png[at + 4], length + 4) != BigEndian(data + length))
            return Fail(error, "bad CRC in " + type);
        image->chunks.push_back(type);
        if (type == "IHDR") {
            if (length != 13)
                return Fail(error, "IHDR length");
            image->width = int(BigEndian(data));
            image->height = int(BigEndian(data + 4));
            if (data[8] != 8 || data[9] != 2 || data[10] != 0 || data[11] != 0 || data[12] != 0)
                return Fail(error, "not 8-bit RGB, deflate, standard filters, no interlace");
        } else if (type == "IDAT") {
            stream.insert(stream.end(), data, data + length);
        } else if (type == "IEND") {
            ended = true;
        }
        at += 12 + size_t(length);
    }
    if (!ended || image->width <= 0 || image->height <= 0)
        return Fail(error, "missing IHDR or IEND");

    const size_t row_bytes = size_t(image->width) * 3;
    std::vector<uint8_t> filtered((row_bytes + 1) * image->height);
    uLongf size = filtered.size();
    // uncompress() also checks the zlib header and the Adler-32 trailer.
    if (uncompress(filtered.data(), &size, stream.data(), stream.size()) != Z_OK || size != filtered.size())
        return Fail(error, "pixel stream does not inflate to the image size");

    image->rgb.resize(row_bytes * image->height);
    for (int y = 0; y < image->height; ++y) {
        const uint8_t filter = filtered[y * (row_bytes + 1)];
        const uint8_t* in = &filtered[y * (row_bytes + 1) + 1];
        uint8_t* out = &image->rgb[y * row_bytes];
        const uint8_t* above = y ? out - row_bytes : nullptr;
        if (filter > 4)
            return Fail(error, "unknown row filter");
        for (size_t x = 0; x < row_bytes; ++x) {
            const int a = x >= 3 ? out[x - 3] : 0, b = above ? above[x] : 0, c = above && x >= 3 ? above[x - 3] : 0;
            const int predictor = filter == 1 ? a : filter == 2 ? b : filter == 3 ? (a + b) / 2
                                : filter == 4 ? Paeth(a, b, c) : 0;
            out[x] = uint8_t(in[x] + predictor);
        }
    }
    return true;
}

