// pixels.h: the host's pixel formats.
//
//   Frame      what the host draws into and writes out: 8-bit red, green,
//              blue bytes, top row first, width * 3 bytes a row (the PNG
//              writer's layout).
//   WidePixel  one picture pixel for filtering: alpha, red, green, blue in
//              16-bit lanes of a 64-bit word, 0x00AA00RR00GG00BB, each lane
//              0..255, so one multiply weighs all four channels. Colour is
//              premultiplied: a transparent pixel is 0.
//   PackedPixel  a filtered sample ready to blend: alpha, red, green, blue
//              bytes, 0xAARRGGBB, premultiplied like a WidePixel.
//   Picture    an element's bitmap ready to draw, kept twice: as WidePixels
//              with a one-pixel transparent ring, so a sample just past an
//              edge reads transparency instead of memory; and as Frame-format
//              rows with their opaque runs, for the upright unscaled case,
//              which is a copy.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

typedef uint64_t WidePixel;

constexpr WidePixel Widen(uint32_t a, uint32_t r, uint32_t g, uint32_t b)
{
    return WidePixel(a) << 48 | WidePixel(r) << 32 | WidePixel(g) << 16 | b;
}

typedef uint32_t PackedPixel;

constexpr PackedPixel Packed(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return a << 24 | r << 16 | g << 8 | b; }
constexpr bool IsOpaque(PackedPixel p) { return p >= 0xFF000000u; }

struct RgbColour {
    uint8_t r, g, b;
    bool operator==(const RgbColour&) const = default;
};

// Host records carry colours as 0x00BBGGRR.
constexpr RgbColour RgbFromRecordColour(uint32_t colour)
{
    return {uint8_t(colour & 0xFF), uint8_t((colour >> 8) & 0xFF), uint8_t((colour >> 16) & 0xFF)};
}

struct Frame {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;

    void Resize(int w, int h);
    int Stride() const { return width * 3; }
    uint8_t* Row(int y) { return rgb.data() + size_t(y) * Stride(); }
    const uint8_t* Row(int y) const { return rgb.data() + size_t(y) * Stride(); }
    RgbColour At(int x, int y) const
    {
        const uint8_t* p = Row(y) + x * 3;
        return {p[0], p[1], p[2]};
    }
    void Fill(RgbColour colour);
};

struct Picture {
    // Opaque pixels x .. x + length - 1 of one row.
    struct Run {
        int x, length;
    };

    int width = 0, height = 0;  // the image, without the ring
    std::vector<WidePixel> samples;  // (width + 2) x (height + 2), ring included
    // Beside each sample: 1 when a bilinear sample there reads only
    // transparent pixels (it, right, below, below right), so a turned
    // picture's empty corners cost a byte's test.
    std::vector<uint8_t> clear;
    std::vector<uint8_t> rgb;        // width x height, Frame format
    std::vector<Run> runs;           // row by row
    std::vector<size_t> row_runs;    // runs of row y: row_runs[y] .. row_runs[y + 1] - 1

    bool empty() const { return samples.empty(); }
    int Pitch() const { return width + 2; }
};

// rgb: width * height pixels, top row first. With black_is_transparent
// pure black becomes transparent, the host's rule for images drawn with
// the transparency flag.
Picture MakePicture(int width, int height, const uint8_t* rgb, bool black_is_transparent);
