// PNG = signature, IHDR, one IDAT holding a zlib stream, IEND.
#include "common/png_writer.h"

#include <stdio.h>
#include <stdlib.h>
#include <zlib.h>

#include "common/byte_order.h"

namespace {

int Paeth(int a, int b, int c)
{
    int p = a + b - c, pa = abs(p - a), pb = abs(p - b), pc = abs(p - c);
    if (pa <= pb && pa <= pc)
        return a;
    return pb <= pc ? b : c;
}

// Each row gets the filter whose output has the smallest sum of magnitudes,
// the usual heuristic for choosing among the five.
std::vector<uint8_t> FilterRows(int width, int height, const uint8_t* rgb, int stride)
{
    const size_t row_bytes = size_t(width) * 3;
    std::vector<uint8_t> filtered;
    filtered.reserve((row_bytes + 1) * height);
    std::vector<uint8_t> zero_row(row_bytes, 0), trial(row_bytes), best(row_bytes);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = rgb + size_t(y) * stride;
        const uint8_t* above = y ? row - stride : zero_row.data();
        long best_cost = -1;
        int best_filter = 0;
        for (int filter = 0; filter < 5; ++filter) {
            long cost = 0;
            for (size_t x = 0; x < row_bytes; ++x) {
                int a = x >= 3 ? row[x - 3] : 0, b = above[x], c = x >= 3 ? above[x - 3] : 0;
                int predictor = filter == 1 ? a : filter == 2 ? b : filter == 3 ? (a + b) / 2
                              : filter == 4 ? Paeth(a, b, c) : 0;
                trial[x] = uint8_t(row[x] - predictor);
                cost += abs(int(int8_t(trial[x])));
            }
            if (best_cost < 0 || cost < best_cost) {
                best_cost = cost;
                best_filter = filter;
                best.swap(trial);
            }
        }
        filtered.push_back(uint8_t(best_filter));
        filtered.insert(filtered.end(), best.begin(), best.end());
    }
    return filtered;
}

}  // namespace

std::vector<uint8_t> PngSignature() { return {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}; }

std::vector<uint8_t> PngHeader(int width, int height)
{
    std::vector<uint8_t> header;
    AppendBigEndian(&header, uint32_t(width), 4);
    AppendBigEndian(&header, uint32_t(height), 4);
    const uint8_t rest[5] = {8, 2, 0, 0, 0};  // 8 bits, RGB, deflate, standard filters, no interlace
    header.insert(header.end(), rest, rest + 5);
    return header;
}

void AppendPngChunk(std::vector<uint8_t>* png, const char type[4], const std::vector<uint8_t>& data)
{
    AppendBigEndian(png, uint32_t(data.size()), 4);
    const size_t start = png->size();
    png->insert(png->end(), type, type + 4);
    png->insert(png->end(), data.begin(), data.end());
    AppendBigEndian(png, uint32_t(crc32(0, png->data() + start, uInt(png->size() - start))), 4);
}

bool CompressPngRows(int width, int height, const uint8_t* rgb, int stride, std::vector<uint8_t>* compressed,
                     std::string* error)
{
    if (width <= 0 || height <= 0 || !rgb || stride < width * 3) {
        *error = "PNG: bad image size or stride";
        return false;
    }
    const std::vector<uint8_t> filtered = FilterRows(width, height, rgb, stride);
    uLongf size = compressBound(uLong(filtered.size()));
    compressed->resize(size);
    if (compress2(compressed->data(), &size, filtered.data(), uLong(filtered.size()), Z_DEFAULT_COMPRESSION) != Z_OK) {
        *error = "PNG: zlib cannot compress the image";
        return false;
    }
    compressed->resize(size);
    return true;
}

bool EncodePng(int width, int height, const uint8_t* rgb, int stride, std::vector<uint8_t>* png,
               std::string* error)
{
    std::vector<uint8_t> compressed;
    if (!CompressPngRows(width, height, rgb, stride, &compressed, error))
        return false;
    *png = PngSignature();
    AppendPngChunk(png, "IHDR", PngHeader(width, height));
    AppendPngChunk(png, "IDAT", compressed);
    AppendPngChunk(png, "IEND", {});
    return true;
}

bool WritePng(const char* path, int width, int height, const uint8_t* rgb, int stride,
              std::string* error)
{
    std::vector<uint8_t> png;
    if (!EncodePng(width, height, rgb, stride, &png, error))
        return false;
    FILE* file = fopen(path, "wb");
    if (!file) {
        *error = std::string("PNG: cannot create ") + path;
        return false;
    }
    bool written = fwrite(png.data(), 1, png.size(), file) == png.size();
    written = fclose(file) == 0 && written;
    if (!written)
        *error = std::string("PNG: cannot write ") + path;
    return written;
}
