// artwork_geometry.h: where the face's marks must lie, as the tests measure
// them in the built module's bitmaps. Written out here rather than taken
// from the generator, so that a drawing error cannot hide behind its own
// constants.
#pragma once

#include <math.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <vector>

#include "tests/artwork/module_artwork.h"

struct PixelRange {
    int x0, y0, x1, y1;  // inclusive
    bool operator==(const PixelRange&) const = default;
    bool Contains(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

inline void PrintTo(const PixelRange& r, std::ostream* os)
{
    *os << "x " << r.x0 << ".." << r.x1 << ", y " << r.y0 << ".." << r.y1;
}

struct Label {
    const char* text;
    int value;  // scale value = degrees clockwise from straight up
    PixelRange box;
};

// Ink bounding boxes, anti-aliased pixels included.
inline const Label Labels[] = {
    {"0", 0, {291, 40, 311, 71}},
    {"20", -20, {205, 61, 238, 84}},    {"20", 20, {360, 61, 394, 84}},
    {"40", -40, {129, 102, 162, 125}},  {"40", 40, {432, 102, 465, 125}},
    {"60", -60, {68, 171, 102, 194}},   {"60", 60, {500, 171, 533, 194}},
    {"80", -80, {45, 248, 79, 271}},    {"80", 80, {525, 248, 558, 271}},
    {"100", -100, {30, 324, 78, 347}},  {"100", 100, {524, 324, 572, 347}},
};

inline const int TickValues[] = {-100, -80, -60, -40, -20, 0, 20, 40, 60, 80, 100};

// The centre of face pixel (301, 299), in the continuous frame where pixel
// (x, y) covers x..x+1, y..y+1.
constexpr double ScaleX = 301.5, ScaleY = 299.5;

inline const PixelRange LeftWindow{42, 56, 134, 98}, RightWindow{468, 58, 560, 100};
inline const PixelRange LeftReadoutBox{47, 62, 131, 97}, RightReadoutBox{473, 62, 557, 97};
inline const PixelRange Caption{144, 564, 459, 585};

constexpr int DialGrey = 25;

inline double Degrees(double radians) { return radians * 180 / M_PI; }
inline double Radians(double degrees) { return degrees * M_PI / 180; }

// Angle of a face point seen from the scale centre, degrees clockwise from up.
inline double ScaleAngle(double x, double y) { return Degrees(atan2(x - ScaleX, -(y - ScaleY))); }
inline double ScaleRadius(double x, double y) { return hypot(x - ScaleX, y - ScaleY); }

// Bounding box of the pixels within a range that satisfy a test; x0 > x1
// when there are none.
inline PixelRange BoundingBox(const PixelRange& within, const std::function<bool(int, int)>& test)
{
    PixelRange box{within.x1 + 1, within.y1 + 1, within.x0 - 1, within.y0 - 1};
    for (int y = within.y0; y <= within.y1; ++y)
        for (int x = within.x0; x <= within.x1; ++x)
            if (test(x, y))
                box = {std::min(box.x0, x), std::min(box.y0, y), std::max(box.x1, x), std::max(box.y1, y)};
    return box;
}

inline PixelRange Grown(const PixelRange& r, int by) { return {r.x0 - by, r.y0 - by, r.x1 + by, r.y1 + by}; }

// Black pixels reached from the four corners through black neighbours,
// against all black pixels: equal when black is only the surround.
struct BlackRegions {
    long reached_from_corners = 0, all = 0;
};

inline BlackRegions FloodBlackFromCorners(int width, int height, const std::function<bool(int, int)>& is_black)
{
    BlackRegions regions;
    std::vector<uint8_t> seen(size_t(width) * height);
    std::vector<std::pair<int, int>> stack;
    for (auto [x, y] : {std::pair{0, 0}, {width - 1, 0}, {0, height - 1}, {width - 1, height - 1}})
        stack.push_back({x, y});
    while (!stack.empty()) {
        auto [x, y] = stack.back();
        stack.pop_back();
        if (x < 0 || y < 0 || x >= width || y >= height || seen[size_t(y) * width + x] || !is_black(x, y))
            continue;
        seen[size_t(y) * width + x] = 1;
        ++regions.reached_from_corners;
        stack.insert(stack.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            regions.all += is_black(x, y);
    return regions;
}
