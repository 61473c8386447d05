// APNG = signature, IHDR, acTL, then per frame fcTL and its pixels (IDAT
// for the first, fdAT after), IEND.
#include "common/apng_writer.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>

#include "common/byte_order.h"
#include "common/png_writer.h"

namespace {

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

    std::string error;
    if (!CompressPngRows(frame.width, frame.height, &last_[frame.y * row_bytes + size_t(frame.x) * 3],
                         int(row_bytes), &frame.stream, &error)) {
        if (error_.empty())
            error_ = error;
        return;
    }
    for (; delay > MaxApngDelay; delay -= MaxApngDelay) {
        frame.delay = MaxApngDelay;
        frames_.push_back(frame);
    }
    frame.delay = int(std::max<int64_t>(delay, 0));
    frames_.push_back(std::move(frame));
}

std::vector<uint8_t> ApngWriter::Encode() const
{
    std::vector<uint8_t> png = PngSignature();
    AppendPngChunk(&png, "IHDR", PngHeader(width_, height_));

    std::vector<uint8_t> data;
    AppendBigEndian(&data, uint32_t(frames_.size()), 4);
    AppendBigEndian(&data, 0, 4);  // plays: forever
    AppendPngChunk(&png, "acTL", data);

    uint32_t sequence = 0;
    for (size_t i = 0; i < frames_.size(); ++i) {
        data.clear();
        AppendBigEndian(&data, sequence++, 4);
        AppendBigEndian(&data, uint32_t(frames_[i].width), 4);
        AppendBigEndian(&data, uint32_t(frames_[i].height), 4);
        AppendBigEndian(&data, uint32_t(frames_[i].x), 4);
        AppendBigEndian(&data, uint32_t(frames_[i].y), 4);
        AppendBigEndian(&data, uint32_t(frames_[i].delay), 2);
        AppendBigEndian(&data, uint32_t(delay_denominator_), 2);
        data.push_back(DisposeNone);
        data.push_back(BlendSource);
        AppendPngChunk(&png, "fcTL", data);
        if (i == 0) {
            AppendPngChunk(&png, "IDAT", frames_[i].stream);
            continue;
        }
        data.clear();
        AppendBigEndian(&data, sequence++, 4);
        data.insert(data.end(), frames_[i].stream.begin(), frames_[i].stream.end());
        AppendPngChunk(&png, "fdAT", data);
    }
    AppendPngChunk(&png, "IEND", {});
    return png;
}

bool ApngWriter::Write(const std::string& path, std::string* error) const
{
    if (!error_.empty()) {
        *error = error_;
        return false;
    }
    const std::vector<uint8_t> png = Encode();
    FILE* file = fopen(path.c_str(), "wb");
    bool written = file && fwrite(png.data(), 1, png.size(), file) == png.size();
    if (file && fclose(file) != 0)
        written = false;
    if (!written)
        *error = "cannot write " + path;
    return written;
}
