// draw_primitives.h: the compositor's brushes, each drawing one thing into
// a Frame.
//
//   DrawPicture  a picture placed, turned and scaled, bilinear filtered,
//                its transparent pixels left undrawn
//   FillBox      an axis-aligned box with anti-aliased edges
//   StrokeBox    a box's one-pixel outline
//   LayerSampler a picture placed as DrawPicture places it, kept as its
//   DrawLayer    samples, and drawn: the same pixels, without filtering again
//
// Positions are continuous: pixel (x, y) covers x..x+1, y..y+1.
// Brightness runs from 0 (black) to FullBrightness (as drawn).
#pragma once

#include <vector>

#include "gauge_host/core/pixels.h"

constexpr uint32_t FullBrightness = 256;

RgbColour Dimmed(RgbColour colour, uint32_t brightness);

// The picture point (pivot_x, pivot_y) lands on face point (x, y); the
// picture turns about it by degrees, clockwise on the screen; face points
// are then multiplied by scale to give frame points.
struct Placement {
    double x = 0, y = 0;
    double pivot_x = 0, pivot_y = 0;
    double degrees = 0;
    double scale = 1;
};

void DrawPicture(Frame* frame, const Picture& picture, const Placement& placement, uint32_t brightness);

// The bilinear sample of the four picture pixels p[0], p[1], p[pitch],
// p[pitch + 1], weighed wx / 256 to the right and wy / 256 down.
WidePixel BilinearSample(const WidePixel* p, int pitch, uint32_t wx, uint32_t wy);

// A placed picture's samples in a frame of one size, before blending: its
// opaque runs as Frame-format bytes, the runs along its edge as
// PackedPixels.
struct Layer {
    struct Run {
        int y, x, length;
        bool opaque;
        size_t at;  // first pixel, in rgb (3 bytes a pixel) or in edge
    };
    std::vector<Run> runs;
    std::vector<uint8_t> rgb;
    std::vector<PackedPixel> edge;

    size_t Bytes() const { return runs.size() * sizeof(Run) + rgb.size() + edge.size() * sizeof(PackedPixel); }
};

// Samples placed pictures into layers, keeping its working buffers from
// one picture to the next.
class LayerSampler {
public:
    void Sample(const Picture& picture, const Placement& placement, int frame_width, int frame_height, Layer* layer);

    // One frame row's stretch of samples, in fixed point at its first column.
    struct RowSpan {
        int y, first, last;
        int32_t u, v;
    };

private:
    std::vector<RowSpan> spans_;
    std::vector<size_t> starts_;  // each span's first sample
    std::vector<PackedPixel> samples_;
};
void DrawLayer(Frame* frame, const Layer& layer, uint32_t brightness);

// Frame coordinates. opacity 1 covers what lies beneath.
struct FrameBox {
    double x0, y0, x1, y1;
};
void FillBox(Frame* frame, const FrameBox& box, RgbColour colour, double opacity = 1.0);
void StrokeBox(Frame* frame, const FrameBox& box, RgbColour colour);
