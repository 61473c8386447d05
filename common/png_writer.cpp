// PNG = signature, IHDR, one IDAT holding a zlib stream, IEND.
#include "common/png_writer.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>

namespace {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0)
{
    struct Table {
        uint32_t entry[256];
        Table()
        {
            for (uint32_t n = 0; n < 256; ++n) {
                uint32_t c = n;
                for (int k = 0; k < 8; ++k)
                    c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
                entry[n] = c;
            }
        }
    };
    static const Table table;
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = table.entry[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t Adler32(const uint8_t* data, size_t size)
{
    uint32_t a = 1, b = 0;
    for (size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

// Deflate packs bits from the least significant end; Huffman codes go in
// most significant bit first, hence the reversal in PutCode.
class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>* out) : out_(out) {}
    void PutBits(uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i) {
            if (((value >> i) & 1) != 0)
                current_ |= uint8_t(1u << filled_);
            if (++filled_ == 8)
                Flush();
        }
    }
    void PutCode(uint32_t code, int length)
    {
        uint32_t reversed = 0;
        for (int i = 0; i < length; ++i)
            reversed |= ((code >> i) & 1) << (length - 1 - i);
        PutBits(reversed, length);
    }
    void Finish()
    {
        if (filled_)
            Flush();
    }

private:
    void Flush()
    {
        out_->push_back(current_);
        current_ = 0;
        filled_ = 0;
    }
    std::vector<uint8_t>* out_;
    uint8_t current_ = 0;
    int filled_ = 0;
};

// The fixed literal/length code of deflate (RFC 1951, 3.2.6).
void PutLiteralOrLength(BitWriter& bits, int symbol)
{
    if (symbol < 144)
        bits.PutCode(0x30 + symbol, 8);
    else if (symbol < 256)
        bits.PutCode(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        bits.PutCode(symbol - 256, 7);
    else
        bits.PutCode(0xC0 + symbol - 280, 8);
}

const int LengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                            31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const int LengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                             2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const int DistanceBase[30] = {1,    2,    3,    4,    5,    7,     9,     13,    17,  25,
                              33,   49,   65,   97,   129,  193,   257,   385,   513, 769,
                              1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const int DistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                               6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void PutMatch(BitWriter& bits, int length, int distance)
{
    int code = 28;
    while (LengthBase[code] > length)
        --code;
    PutLiteralOrLength(bits, 257 + code);
    bits.PutBits(length - LengthBase[code], LengthExtra[code]);
    code = 29;
    while (DistanceBase[code] > distance)
        --code;
    bits.PutCode(code, 5);
    bits.PutBits(distance - DistanceBase[code], DistanceExtra[code]);
}

// One fixed-Huffman block; greedy matching over hash chains of 3-byte
// prefixes, searched to a bounded depth so the time stays linear.
void Deflate(const std::vector<uint8_t>& data, std::vector<uint8_t>* out)
{
    constexpr int Window = 32768, MaxMatch = 258, MinMatch = 3, MaxProbes = 32;
    constexpr int HashBits = 15;
    std::vector<int> head(1 << HashBits, -1), previous(data.size(), -1);
    auto hash = [&](size_t i) {
        uint32_t key = data[i] | (data[i + 1] << 8) | (data[i + 2] << 16);
        return (key * 2654435761u) >> (32 - HashBits);
    };
    auto insert = [&](size_t i) {
        if (i + MinMatch <= data.size()) {
            uint32_t h = hash(i);
            previous[i] = head[h];
            head[h] = int(i);
        }
    };

    BitWriter bits(out);
    bits.PutBits(1, 1);  // final block
    bits.PutBits(1, 2);  // fixed Huffman codes
    size_t i = 0;
    while (i < data.size()) {
        int best_length = 0, best_distance = 0;
        if (i + MinMatch <= data.size()) {
            int limit = int(std::min<size_t>(MaxMatch, data.size() - i));
            int candidate = head[hash(i)];
            for (int probes = 0; candidate >= 0 && probes < MaxProbes; ++probes) {
                int distance = int(i) - candidate;
                if (distance > Window)
                    break;
                int length = 0;
                while (length < limit && data[candidate + length] == data[i + length])
                    ++length;
                if (length > best_length) {
                    best_length = length;
                    best_distance = distance;
                    if (length == limit)
                        break;
                }
                candidate = previous[candidate];
            }
        }
        if (best_length >= MinMatch) {
            PutMatch(bits, best_length, best_distance);
            for (int k = 0; k < best_length; ++k)
                insert(i + k);
            i += best_length;
        } else {
            PutLiteralOrLength(bits, data[i]);
            insert(i);
            ++i;
        }
    }
    PutLiteralOrLength(bits, 256);
    bits.Finish();
}

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

void PutBigEndian(std::vector<uint8_t>* out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out->push_back(uint8_t(value >> shift));
}

void PutChunk(std::vector<uint8_t>* png, const char type[4], const std::vector<uint8_t>& data)
{
    PutBigEndian(png, uint32_t(data.size()));
    size_t start = png->size();
    png->insert(png->end(), type, type + 4);
    png->insert(png->end(), data.begin(), data.end());
    PutBigEndian(png, Crc32(png->data() + start, png->size() - start));
}

}  // namespace

bool EncodePng(int width, int height, const uint8_t* rgb, int stride, std::vector<uint8_t>* png,
               std::string* error)
{
    if (width <= 0 || height <= 0 || !rgb || stride < width * 3) {
        *error = "PNG: bad image size or stride";
        return false;
    }
    std::vector<uint8_t> header;
    PutBigEndian(&header, uint32_t(width));
    PutBigEndian(&header, uint32_t(height));
    const uint8_t rest[5] = {8, 2, 0, 0, 0};  // 8 bits, RGB, deflate, standard filters, no interlace
    header.insert(header.end(), rest, rest + 5);

    std::vector<uint8_t> filtered = FilterRows(width, height, rgb, stride);
    std::vector<uint8_t> zlib = {0x78, 0x01};  // deflate, 32 KiB window, check bits
    Deflate(filtered, &zlib);
    PutBigEndian(&zlib, Adler32(filtered.data(), filtered.size()));

    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    png->assign(signature, signature + 8);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
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
