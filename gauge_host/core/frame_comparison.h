// frame_comparison.h: a drawn frame against a reference picture, for
// scenario snapshot checks.
//
// Usage:
//   FrameDifference d = CompareFrames(actual, reference, tolerance);
//   if (d.over_tolerance > allowed_pixels) {
//       // d.x0..d.x1, d.y0..d.y1 box the pixels over tolerance
//       Frame diff = DiffImage(actual, reference, tolerance);
//   }
//
// A pixel is over tolerance when any of its channels differs by more than
// `tolerance` (0 to 255). Both frames must be of one size.
#pragma once

#include <stdint.h>

#include "gauge_host/core/pixels.h"

constexpr int MaxChannelTolerance = 255;

struct FrameDifference {
    int64_t over_tolerance = 0;  // pixels
    int x0 = 0, x1 = -1, y0 = 0, y1 = -1;  // their box, inclusive; empty when none
    int largest = 0;  // the largest channel difference of those pixels
};

FrameDifference CompareFrames(const Frame& actual, const Frame& reference, int tolerance);

// The actual frame faded towards white, with its pixels over tolerance in
// full red, so the places that changed stand out and the picture still
// says where they are.
Frame DiffImage(const Frame& actual, const Frame& reference, int tolerance);
