// painter.h: a small 2D painter for the gauge artwork.
//
// Geometry is continuous: pixel (x, y) covers x..x+1 and y..y+1. Every pixel
// holds 2 x 2 samples at its quarter points; a shape paints the samples it
// contains, and Resolve() averages each block (rounding down), so an edge
// shows in four coverage steps and the result depends only on the geometry.
#pragma once

#include <stdint.h>

#include <functional>
#include <vector>

struct Point {
    double x, y;
};

// Right and bottom are exclusive edges.
struct Box {
    double left, top, right, bottom;
};

// The box covering the inclusive pixel ranges x0..x1, y0..y1.
constexpr Box PixelBox(int x0, int y0, int x1, int y1)
{
    return {double(x0), double(y0), double(x1 + 1), double(y1 + 1)};
}

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

// Packed, so an Image's pixels are rows of red, green, blue bytes.
static_assert(sizeof(Rgb) == 3);

constexpr Rgb Grey(uint8_t level) { return {level, level, level}; }

// A region of the plane: the points for which contains() holds, all within
// bounds.
struct Shape {
    Box bounds;
    std::function<bool(Point)> contains;
};

Shape Rect(Box box);
Shape RoundedRect(Box box, double radius);
// Corner radii in the order top-left, top-right, bottom-right, bottom-left.
Shape RoundedRect(Box box, const double (&radii)[4]);
Shape Disc(Point centre, double radius);
Shape Ring(Point centre, double inner_radius, double outer_radius);
// A rectangle on a radius: angle in degrees clockwise from straight up,
// along = distances from centre along the radius, across = offsets to its
// clockwise side.
Shape RadialBar(Point centre, double angle, double along_from, double along_to,
                double across_from, double across_to);
// Round-capped, round-joined lines of the given width.
Shape Strokes(const std::vector<std::vector<Point>>& polylines, double width);
Shape Intersection(Shape a, Shape b);
Shape Difference(Shape a, Shape b);

// Top row first, left to right.
struct Image {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;
    const Rgb& at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

class Canvas {
public:
    Canvas(int width, int height, Rgb background);

    void Fill(const Shape& shape, Rgb colour);
    // paint gives the colour at each sample point inside the shape.
    void Fill(const Shape& shape, const std::function<Rgb(Point)>& paint);

    Image Resolve() const;

private:
    int width_, height_;
    std::vector<Rgb> samples_;  // (2 * width) x (2 * height)
};
