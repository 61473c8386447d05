#include "resources/painter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

bool InBox(const Box& box, Point p)
{
    return p.x >= box.left && p.x < box.right && p.y >= box.top && p.y < box.bottom;
}

double DistanceSquared(Point a, Point b)
{
    return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y);
}

Box Grow(Box box, double by) { return {box.left - by, box.top - by, box.right + by, box.bottom + by}; }

Box Intersect(Box a, Box b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

}  // namespace

Shape Rect(Box box)
{
    return {box, [box](Point p) { return InBox(box, p); }};
}

Shape RoundedRect(Box box, double radius)
{
    return RoundedRect(box, {radius, radius, radius, radius});
}

Shape RoundedRect(Box box, const double (&radii)[4])
{
    const double tl = radii[0], tr = radii[1], br = radii[2], bl = radii[3];
    return {box, [box, tl, tr, br, bl](Point p) {
                if (!InBox(box, p))
                    return false;
                // Outside a corner's square the box edge decides; inside it, the arc.
                auto corner = [p](double cx, double cy, double r, bool beyond) {
                    return !beyond || DistanceSquared(p, {cx, cy}) <= r * r;
                };
                return corner(box.left + tl, box.top + tl, tl, p.x < box.left + tl && p.y < box.top + tl) &&
                       corner(box.right - tr, box.top + tr, tr, p.x > box.right - tr && p.y < box.top + tr) &&
                       corner(box.right - br, box.bottom - br, br,
                              p.x > box.right - br && p.y > box.bottom - br) &&
                       corner(box.left + bl, box.bottom - bl, bl, p.x < box.left + bl && p.y > box.bottom - bl);
            }};
}

Shape Disc(Point centre, double radius)
{
    Box bounds{centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius};
    return {bounds, [centre, radius](Point p) { return DistanceSquared(p, centre) < radius * radius; }};
}

Shape Ring(Point centre, double inner_radius, double outer_radius)
{
    return Difference(Disc(centre, outer_radius), Disc(centre, inner_radius));
}

Shape RadialBar(Point centre, double angle, double along_from, double along_to, double across_from,
                double across_to)
{
    const double a = angle * std::numbers::pi / 180;
    const Point along{std::sin(a), -std::cos(a)}, across{std::cos(a), std::sin(a)};
    Box bounds{1e9, 1e9, -1e9, -1e9};
    for (double s : {along_from, along_to})
        for (double t : {across_from, across_to}) {
            Point corner{centre.x + s * along.x + t * across.x, centre.y + s * along.y + t * across.y};
            bounds = {std::min(bounds.left, corner.x), std::min(bounds.top, corner.y),
                      std::max(bounds.right, corner.x), std::max(bounds.bottom, corner.y)};
        }
    return {bounds, [=](Point p) {
                const double dx = p.x - centre.x, dy = p.y - centre.y;
                const double s = dx * along.x + dy * along.y, t = dx * across.x + dy * across.y;
                return s >= along_from && s < along_to && t >= across_from && t < across_to;
            }};
}

Shape Strokes(const std::vector<std::vector<Point>>& polylines, double width)
{
    struct Segment {
        Point a, b;
    };
    std::vector<Segment> segments;
    Box bounds{1e9, 1e9, -1e9, -1e9};
    for (const auto& line : polylines)
        for (size_t i = 0; i < line.size(); ++i) {
            const Point& p = line[i];
            bounds = {std::min(bounds.left, p.x), std::min(bounds.top, p.y), std::max(bounds.right, p.x),
                      std::max(bounds.bottom, p.y)};
            // A single point is a dot; otherwise each pair is a segment.
            if (line.size() == 1)
                segments.push_back({p, p});
            else if (i > 0)
                segments.push_back({line[i - 1], p});
        }
    const double r = width / 2;
    return {Grow(bounds, r), [segments, r](Point p) {
                for (const Segment& s : segments) {
                    const double ex = s.b.x - s.a.x, ey = s.b.y - s.a.y, length2 = ex * ex + ey * ey;
                    double t = length2 > 0 ? ((p.x - s.a.x) * ex + (p.y - s.a.y) * ey) / length2 : 0;
                    t = std::clamp(t, 0.0, 1.0);
                    if (DistanceSquared(p, {s.a.x + t * ex, s.a.y + t * ey}) <= r * r)
                        return true;
                }
                return false;
            }};
}

Shape Intersection(Shape a, Shape b)
{
    return {Intersect(a.bounds, b.bounds),
            [a = std::move(a.contains), b = std::move(b.contains)](Point p) { return a(p) && b(p); }};
}

Shape Difference(Shape a, Shape b)
{
    return {a.bounds, [a = std::move(a.contains), b = std::move(b.contains)](Point p) { return a(p) && !b(p); }};
}

Canvas::Canvas(int width, int height, Rgb background)
    : width_(width), height_(height), samples_(size_t(4) * width * height, background)
{
}

void Canvas::Fill(const Shape& shape, Rgb colour)
{
    Fill(shape, [colour](Point) { return colour; });
}

void Canvas::Fill(const Shape& shape, const std::function<Rgb(Point)>& paint)
{
    const int columns = 2 * width_, rows = 2 * height_;
    // Sample (i, j) sits at (i + 0.5) / 2, (j + 0.5) / 2.
    const int i0 = std::max(0, int(std::floor(shape.bounds.left * 2 - 0.5)));
    const int i1 = std::min(columns - 1, int(std::ceil(shape.bounds.right * 2 - 0.5)));
    const int j0 = std::max(0, int(std::floor(shape.bounds.top * 2 - 0.5)));
    const int j1 = std::min(rows - 1, int(std::ceil(shape.bounds.bottom * 2 - 0.5)));
    for (int j = j0; j <= j1; ++j)
        for (int i = i0; i <= i1; ++i) {
            const Point p{(i + 0.5) / 2, (j + 0.5) / 2};
            if (shape.contains(p))
                samples_[size_t(j) * columns + i] = paint(p);
        }
}

Image Canvas::Resolve() const
{
    Image image;
    image.width = width_;
    image.height = height_;
    image.pixels.resize(size_t(width_) * height_);
    const int columns = 2 * width_;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const Rgb* top = &samples_[size_t(2 * y) * columns + 2 * x];
            const Rgb* bottom = top + columns;
            auto average = [&](uint8_t Rgb::*channel) {
                return uint8_t((top[0].*channel + top[1].*channel + bottom[0].*channel + bottom[1].*channel) / 4);
            };
            image.pixels[size_t(y) * width_ + x] = {average(&Rgb::r), average(&Rgb::g), average(&Rgb::b)};
        }
    return image;
}
