// APNG = signature, IHDR, acTL, then per frame fcTL and its pixels (IDAT
// for the first, fdAT after), IEND.
#include "common/apng_writer.h"

#include <stdio.h>
#include <zlib.h>

#include <algorithm>

namespace {

void PutBigEndian(std::vector<uint8_t>* out, uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out->push_back(uint8_t(value >> (8 * i)));
}

void PutChunk(std::vector<uint8_t>* out, const char* type, const std::vector<uint8_t>& data)
{
    PutBigEndian(out, uint32_t(data.size()), 4);
    const size_t start = out->size();
    out->insert(out->end(), type, type + 4);
    out->insert(out->end(), data.begin(), data.end());
    PutBigEndian(out, uint32_t(crc32(0, out->data() + start, uInt(out->size() - start))), 4);
}

enum { DisposeNone = 0, BlendSource = 0 };

}  // namespace

ApngWriter::ApngWriter(int width, int height, int delay_denominator)
    : width_(width), height_(height), delay_denominator_(delay_denominator)
{
}

void ApngWriter::AddFrame(const uint8_t* rgb, int stride, int64_t delay)
{
    // Each row behind filter 0: the frames are flat artwork, which deflate
    // alone shrinks well, and equal rows stay equal bytes across frames.
    const size_t row_bytes = size_t(width_) * 3;
    std::vector<uint8_t> filtered;
    filtered.reserve((row_bytes + 1) * height_);
    for (int y = 0; y < height_; ++y) {
        filtered.push_back(0);
        const uint8_t* row = rgb + size_t(y) * stride;
        filtered.insert(filtered.end(), row, row + row_bytes);
    }
    CompressedFrame frame;
    uLongf size = compressBound(uLong(filtered.size()));
    frame.stream.resize(size);
    compress2(frame.stream.data(), &size, filtered.data(), uLong(filtered.size()), Z_BEST_COMPRESSION);
    frame.stream.resize(size);
    for (; delay > MaxApngDelay; delay -= MaxApngDelay) {
        frame.delay = MaxApngDelay;
        frames_.push_back(frame);
    }
    frame.delay = int(std::max<int64_t>(delay, 0));
    frames_.push_back(std::move(frame));
}

std::vector<uint8_t> ApngWriter::Encode() const
{
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> data;
    PutBigEndian(&data, uint32_t(width_), 4);
    PutBigEndian(&data, uint32_t(height_), 4);
    data.insert(data.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, standard filters, no interlace
    PutChunk(&png, "IHDR", data);

    data.clear();
    PutBigEndian(&data, uint32_t(frames_.size()), 4);
    PutBigEndian(&data, 0, 4);  // plays: forever
    PutChunk(&png, "acTL", data);

    uint32_t sequence = 0;
    for (size_t i = 0; i < frames_.size(); ++i) {
        data.clear();
        PutBigEndian(&data, sequence++, 4);
        PutBigEndian(&data, uint32_t(width_), 4);
        PutBigEndian(&data, uint32_t(height_), 4);
        PutBigEndian(&data, 0, 4);  // x
        PutBigEndian(&data, 0, 4);  // y
        PutBigEndian(&data, uint32_t(frames_[i].delay), 2);
        PutBigEndian(&data, uint32_t(delay_denominator_), 2);
        data.push_back(DisposeNone);
        data.push_back(BlendSource);
        PutChunk(&png, "fcTL", data);
        if (i == 0) {
            PutChunk(&png, "IDAT", frames_[i].stream);
            continue;
        }
        data.clear();
        PutBigEndian(&data, sequence++, 4);
        data.insert(data.end(), frames_[i].stream.begin(), frames_[i].stream.end());
        PutChunk(&png, "fdAT", data);
    }
    PutChunk(&png, "IEND", {});
    return png;
}

bool ApngWriter::Write(const std::string& path, std::string* error) const
{
    const std::vector<uint8_t> png = Encode();
    FILE* file = fopen(path.c_str(), "wb");
    bool written = file && fwrite(png.data(), 1, png.size(), file) == png.size();
    if (file && fclose(file) != 0)
        written = false;
    if (!written)
        *error = "cannot write " + path;
    return written;
}
