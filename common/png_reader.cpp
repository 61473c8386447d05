#include "common/png_reader.h"
#include "common/byte_order.h"
#include "common/fail.h"

#include <stdlib.h>
#include <string.h>
#include <zlib.h>

namespace {

int Paeth(int a, int b, int c)
{
    const int p = a + b - c, pa = abs(p - a), pb = abs(p - b), pc = abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// One zlib stream of filtered rows into width x height RGB pixels.
bool Inflate(const std::vector<uint8_t>& stream, int width, int height, std::vector<uint8_t>* rgb, std::string* error)
{
    const size_t row_bytes = size_t(width) * 3;
    std::vector<uint8_t> filtered((row_bytes + 1) * height);
    uLongf size = filtered.size();
    // uncompress() also checks the zlib header and the Adler-32 trailer.
    if (uncompress(filtered.data(), &size, stream.data(), stream.size()) != Z_OK || size != filtered.size())
        return Fail(error, "pixel stream does not inflate to the image size");

    rgb->resize(row_bytes * height);
    for (int y = 0; y < height; ++y) {
        const uint8_t filter = filtered[y * (row_bytes + 1)];
        const uint8_t* in = &filtered[y * (row_bytes + 1) + 1];
        uint8_t* out = &(*rgb)[y * row_bytes];
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

}  // namespace

bool DecodePng(const std::vector<uint8_t>& png, DecodedPng* image, std::string* error)
{
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    *image = {};
    if (png.size() < 8 || memcmp(png.data(), signature, 8) != 0)
        return Fail(error, "no PNG signature");
    std::vector<uint8_t> stream;  // the default image's
    std::vector<std::vector<uint8_t>> frame_streams;
    bool ended = false, idat_in_frame = false;
    uint32_t announced_frames = 0, next_sequence = 0;
    for (size_t at = 8; at < png.size();) {
        if (ended)
            return Fail(error, "bytes after IEND");
        if (png.size() - at < 12)
            return Fail(error, "truncated chunk");
        const uint32_t length = BigEndian32(&png[at]);
        if (png.size() - at - 12 < length)
            return Fail(error, "chunk longer than the file");
        const std::string type(png.begin() + at + 4, png.begin() + at + 8);
        const uint8_t* data = &png[at + 8];
        if (crc32(0, &png[at + 4], length + 4) != BigEndian32(data + length))
            return Fail(error, "bad CRC in " + type);
        image->chunks.push_back(type);
        if ((type == "fcTL" || type == "fdAT") && (length < 4 || BigEndian32(data) != next_sequence++))
            return Fail(error, type + " out of sequence");
        if (type == "IHDR") {
            if (length != 13)
                return Fail(error, "IHDR length");
            if (image->width)
                return Fail(error, "a second IHDR");
            const uint32_t width = BigEndian32(data), height = BigEndian32(data + 4);
            if (width == 0 || height == 0 || width > MaxPngDimension || height > MaxPngDimension)
                return Fail(error, std::to_string(width) + " x " + std::to_string(height) +
                                       " pixels: not 1 to " + std::to_string(MaxPngDimension) + " a side");
            image->width = int(width);
            image->height = int(height);
            if (data[8] != 8 || data[9] != 2 || data[10] != 0 || data[11] != 0 || data[12] != 0)
                return Fail(error, "not 8-bit RGB, deflate, standard filters, no interlace");
        } else if (type == "acTL") {
            if (length != 8)
                return Fail(error, "acTL length");
            announced_frames = BigEndian32(data);
        } else if (type == "fcTL") {
            if (length != 26)
                return Fail(error, "fcTL length");
            const uint32_t width = BigEndian32(data + 4), height = BigEndian32(data + 8), x = BigEndian32(data + 12),
                           y = BigEndian32(data + 16);
            if (width == 0 || height == 0 || width > uint32_t(image->width) || height > uint32_t(image->height) ||
                x > uint32_t(image->width) - width || y > uint32_t(image->height) - height)
                return Fail(error, "fcTL region outside the image");
            DecodedFrame frame;
            frame.width = int(width);
            frame.height = int(height);
            frame.x = int(x);
            frame.y = int(y);
            frame.delay_numerator = int(BigEndian16(data + 20));
            frame.delay_denominator = int(BigEndian16(data + 22));
            if (data[24] != 0 || data[25] != 0)
                return Fail(error, "fcTL disposal or blending other than none and source");
            image->frames.push_back(frame);
            frame_streams.emplace_back();
        } else if (type == "IDAT") {
            stream.insert(stream.end(), data, data + length);
            idat_in_frame = !image->frames.empty();
        } else if (type == "fdAT") {
            if (frame_streams.empty())
                return Fail(error, "fdAT before any fcTL");
            frame_streams.back().insert(frame_streams.back().end(), data + 4, data + length);
        } else if (type == "IEND") {
            ended = true;
        }
        at += 12 + size_t(length);
    }
    if (!ended || image->width <= 0 || image->height <= 0)
        return Fail(error, "missing IHDR or IEND");
    if (!Inflate(stream, image->width, image->height, &image->rgb, error))
        return false;
    if (announced_frames != image->frames.size())
        return Fail(error, "acTL announces " + std::to_string(announced_frames) + " frames, the file has " +
                               std::to_string(image->frames.size()));
    if (image->frames.size() > MaxPngFrameBytes / image->rgb.size())
        return Fail(error, std::to_string(image->frames.size()) + " frames of this size are too many to read whole");
    std::vector<uint8_t> canvas(image->rgb.size()), region;
    const size_t row_bytes = size_t(image->width) * 3;
    for (size_t i = 0; i < image->frames.size(); ++i) {
        DecodedFrame& frame = image->frames[i];
        if (i == 0 && idat_in_frame) {
            if (frame.width != image->width || frame.height != image->height)
                return Fail(error, "the first frame is not the whole image");
            region = image->rgb;
        } else if (!Inflate(frame_streams[i], frame.width, frame.height, &region, error)) {
            return Fail(error, "frame " + std::to_string(i) + ": " + *error);
        }
        for (int y = 0; y < frame.height; ++y)
            memcpy(&canvas[(frame.y + y) * row_bytes + size_t(frame.x) * 3], &region[size_t(y) * frame.width * 3],
                   size_t(frame.width) * 3);
        frame.rgb = canvas;
    }
    return true;
}
