#include "resources/stroke_font.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Round letters reach above the capital line by about a pixel at the
// caption's size, and below the baseline by half that, so that they look
// as tall as the flat ones.
constexpr double RoundTopOvershoot = 0.06, RoundBottomOvershoot = 0.03;
// The tail of the Q hangs one pixel below the baseline at that size.
constexpr double TailDepth = 0.06;
constexpr double RoundRadiusY = 0.5 + (RoundTopOvershoot + RoundBottomOvershoot) / 2;
constexpr double RoundCentreY = 0.5 + (RoundBottomOvershoot - RoundTopOvershoot) / 2;

// Points of an elliptical arc, angles in degrees clockwise from +x (y is
// downward), in steps of at most 3 degrees, both ends included.
std::vector<Point> Arc(double cx, double cy, double rx, double ry, double from, double to)
{
    const int steps = std::max(1, int(std::ceil(std::abs(to - from) / 3)));
    std::vector<Point> points;
    for (int i = 0; i <= steps; ++i) {
        const double a = (from + (to - from) * i / steps) * std::numbers::pi / 180;
        points.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
    return points;
}

std::vector<Point> Join(std::initializer_list<std::vector<Point>> parts)
{
    std::vector<Point> line;
    for (const auto& part : parts)
        line.insert(line.end(), part.begin(), part.end());
    return line;
}

// The point where a line from outside a circle touches it, on the side
// reached by turning anticlockwise on screen from the centre-to-point line.
Point Tangent(Point from, double cx, double cy, double r)
{
    const double dx = from.x - cx, dy = from.y - cy, d = std::hypot(dx, dy);
    const double a = std::atan2(dy, dx) - std::acos(r / d);
    return {cx + r * std::cos(a), cy + r * std::sin(a)};
}

Polylines Zero()
{
    // Straight sides, semicircular ends.
    constexpr double w = 17.0 / 28, r = w / 2;
    return {Join({{{w, r}}, Arc(r, 1 - r, r, r, 0, 180), Arc(r, r, r, r, 180, 360)})};
}

Polylines Six()
{
    constexpr double r = 0.29, cx = r, cy = 1 - r;
    const Point top{0.47, 0};
    return {Arc(cx, cy, r, r, 0, 360), {top, Tangent(top, cx, cy, r)}};
}

Polylines RoundLetter(double width)
{
    return {Arc(width / 2, RoundCentreY, width / 2, RoundRadiusY, 0, 360)};
}

Polylines Glyph(char c)
{
    switch (c) {
    case '0': return Zero();
    case '1': return {{{0, 0.22}, {0.3, 0}, {0.3, 1}}};
    case '2': return {Join({Arc(0.29, 0.28, 0.29, 0.28, 200, 400), {{0, 1}, {0.6, 1}}})};
    case '4': return {{{0.6, 0.68}, {0, 0.68}, {0.44, 0}, {0.44, 1}}};
    case '6': return Six();
    case '8': return {Arc(0.29, 0.23, 0.25, 0.23, 0, 360), Arc(0.29, 0.73, 0.29, 0.27, 0, 360)};
    case 'A': return {{{0, 1}, {0.42, 0}, {0.84, 1}}, {{0.15, 0.66}, {0.69, 0.66}}};
    case 'C': return {Arc(0.46, RoundCentreY, 0.46, RoundRadiusY, 315, 45)};  // open on the right
    case 'D':
        return {Join({{{0, 0}, {0.36, 0}}, Arc(0.36, 0.4, 0.4, 0.4, 270, 360),
                      Arc(0.36, 0.6, 0.4, 0.4, 0, 90), {{0, 1}, {0, 0}}})};
    case 'E': return {{{0.6, 0}, {0, 0}, {0, 1}, {0.6, 1}}, {{0, 0.5}, {0.52, 0.5}}};
    case 'I': return {{{0, 0}, {0, 1}}};
    case 'N': return {{{0, 1}, {0, 0}, {0.72, 1}, {0.72, 0}}};
    case 'O': return RoundLetter(0.92);
    case 'Q': {
        Polylines q = RoundLetter(0.92);
        q.push_back({{0.58, 0.72}, {0.98, 1 + TailDepth}});
        return q;
    }
    case 'R':
        return {Join({{{0, 1}, {0, 0}, {0.4, 0}}, Arc(0.4, 0.25, 0.25, 0.25, 270, 450), {{0, 0.5}}}),
                {{0.36, 0.5}, {0.7, 1}}};
    case 'T': return {{{0, 0}, {0.72, 0}}, {{0.36, 0}, {0.36, 1}}};
    case 'U': return {Join({{{0, 0}}, Arc(0.35, 0.62, 0.35, 0.38, 180, 0), {{0.7, 0}}})};
    case 'W': return {{{0, 0}, {0.28, 1}, {0.58, 0}, {0.88, 1}, {1.16, 0}}};
    case 'Y': return {{{0, 0}, {0.4, 0.52}, {0.8, 0}}, {{0.4, 0.52}, {0.4, 1}}};
    }
    return {};
}

struct Extent {
    double left, right;
};

Extent HorizontalExtent(const Polylines& glyph)
{
    Extent extent{1e9, -1e9};
    for (const auto& line : glyph)
        for (const Point& p : line)
            extent = {std::min(extent.left, p.x), std::max(extent.right, p.x)};
    return extent;
}

}  // namespace

double CentreLineWidth(std::string_view text)
{
    double width = 0;
    for (char c : text) {
        const Extent e = HorizontalExtent(Glyph(c));
        width += e.right - e.left;
    }
    return width;
}

Polylines LayOutText(std::string_view text, Box ink, double stroke_width)
{
    const double r = stroke_width / 2;
    const double scale = ink.bottom - ink.top - stroke_width;
    const double spare = (ink.right - ink.left - stroke_width) - CentreLineWidth(text) * scale;
    const double gap = text.size() > 1 ? spare / double(text.size() - 1) : 0;
    double x = ink.left + r + (text.size() > 1 ? 0 : spare / 2);
    Polylines placed;
    for (char c : text) {
        const Polylines glyph = Glyph(c);
        const Extent e = HorizontalExtent(glyph);
        for (const auto& line : glyph) {
            std::vector<Point> moved;
            for (const Point& p : line)
                moved.push_back({x + (p.x - e.left) * scale, ink.top + r + p.y * scale});
            placed.push_back(std::move(moved));
        }
        x += (e.right - e.left) * scale + gap;
    }
    return placed;
}
