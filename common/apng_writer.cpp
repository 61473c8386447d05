// APNG = signature, IHDR, acTL, then per frame fcTL and its pixels (IDAT
// for the first, fdAT after), IEND.
#include "common/apng_writer.h"

#include <stdio.h>
#include <string.h>
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
    const size_t row_bytes = size_t(width_) * 3;
    CompressedFrame frame = {0, 0, width_, height_, {}, 0};
    if (!last_.empty()) {
        // The box of changed pixels; an unchanged picture keeps one pixel,
        // as a frame cannot be empty.
        int x0 = width_, x1 = -1, y0 = height_, y1 = -1;
        for (int y = 0; y < height_; ++y) {
            const uint8_t* now = rgb + size_t(y) * stride;
            const uint8_t* before = &last_[y * row_bytes];
            for (int x = 0; x < width_; ++x)
                if (memcmp(now + x * 3, before + x * 3, 3) != 0) {
                    x0 = std::min(x0, x);
                    x1 = std::max(x1, x);
                    y0 = std::min(y0, y);
                    y1 = y;
                }
        }
        if (x1 < 0)
            x0 = x1 = y0 = y1 = 0;
        frame = {x0, y0, x1 - x0 + 1, y1 - y0 + 1, {}, 0};
    }
    last_.resize(row_bytes * height_);
    for (int y = 0; y < height_; ++y)
        memcpy(&last_[y * row_bytes], rgb + size_t(y) * stride, row_bytes);

    // Each row behind filter 0: flat artwork, which deflate alone shrinks
    // well.
    std::vector<uint8_t> filtered;
    filtered.reserve((size_t(frame.width) * 3 + 1) * frame.height);
    for (int y = frame.y; y < frame.y + frame.height; ++y) {
        filtered.push_back(0);
        const uint8_t* row = &last_[y * row_bytes + frame.x * 3];
        filtered.insert(filtered.end(), row, row + frame.width * 3);
    }
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
        PutBigEndian(&data, uint32_t(frames_[i].width), 4);
        PutBigEndian(&data, uint32_t(frames_[i].height), 4);
        PutBigEndian(&data, uint32_t(frames_[i].x), 4);
        PutBigEndian(&data, uint32_t(frames_[i].y), 4);
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
