#include "gauge_host/core/frame_comparison.h"

#include <stdlib.h>

#include <algorithm>

namespace {

constexpr RgbColour Highlight = {255, 0, 0};

int LargestChannelDifference(const uint8_t* a, const uint8_t* b)
{
    return std::max({abs(a[0] - b[0]), abs(a[1] - b[1]), abs(a[2] - b[2])});
}

// A quarter of the colour over three quarters of white: light enough that
// red reads on every part of the face.
uint8_t Faded(uint8_t channel) { return uint8_t(191 + channel / 4); }

}  // namespace

FrameDifference CompareFrames(const Frame& actual, const Frame& reference, int tolerance)
{
    FrameDifference d;
    for (int y = 0; y < actual.height; ++y) {
        const uint8_t* a = actual.Row(y);
        const uint8_t* r = reference.Row(y);
        for (int x = 0; x < actual.width; ++x, a += 3, r += 3) {
            const int difference = LargestChannelDifference(a, r);
            if (difference <= tolerance)
                continue;
            if (d.over_tolerance++ == 0) {
                d.x0 = d.x1 = x;
                d.y0 = d.y1 = y;
            }
            d.x0 = std::min(d.x0, x);
            d.x1 = std::max(d.x1, x);
            d.y1 = y;
            d.largest = std::max(d.largest, difference);
        }
    }
    return d;
}

Frame DiffImage(const Frame& actual, const Frame& reference, int tolerance)
{
    Frame diff;
    diff.Resize(actual.width, actual.height);
    for (int y = 0; y < actual.height; ++y) {
        const uint8_t* a = actual.Row(y);
        const uint8_t* r = reference.Row(y);
        uint8_t* out = diff.Row(y);
        for (int x = 0; x < actual.width; ++x, a += 3, r += 3, out += 3) {
            const bool over = LargestChannelDifference(a, r) > tolerance;
            out[0] = over ? Highlight.r : Faded(a[0]);
            out[1] = over ? Highlight.g : Faded(a[1]);
            out[2] = over ? Highlight.b : Faded(a[2]);
        }
    }
    return diff;
}
