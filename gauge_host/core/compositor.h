// compositor.h: draws a gauge's elements, in tree order, into a frame.
//
// Usage:
//   Compositor compositor;  // kept from frame to frame
//   compositor.Draw(elements, gauge_width, gauge_height, view, &frame);
//
// The frame is resized to the gauge at the view's scale and starts as the
// panel behind the gauge. Static images are placed at their position;
// needles turn about their offset, placed on their position, clockwise by
// their angle, bilinear filtered; string elements draw their text in the
// seven-segment face, in their colour. With the transparency flag, pure
// black is not drawn. At night everything but the bright elements is
// dimmed.
//
// Static images never change, so the Compositor keeps the panel with the
// leading static images (the face) drawn at the last view, and each frame
// starts as a copy of it; and it keeps each needle's turned picture for
// the angles it has drawn, up to a bound for all needles. DrawGauge draws
// everything afresh: the same pixels, at the full cost.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "gauge_host/core/draw_primitives.h"
#include "gauge_host/core/element_state.h"

constexpr RgbColour PanelColour = {38, 42, 48};
constexpr uint32_t NightBrightness = 90;  // of FullBrightness

int FrameSize(int gauge_size, double scale);

void DrawGauge(const std::vector<ElementState>& elements, int gauge_width, int gauge_height, const View& view,
               Frame* frame);

class Compositor {
public:
    void Draw(const std::vector<ElementState>& elements, int gauge_width, int gauge_height, const View& view,
              Frame* frame);

private:
    // The panel and the leading static images, as drawn for view.
    struct Background {
        View view;
        int width = 0, height = 0;
        std::vector<std::shared_ptr<const Picture>> pictures;
        Frame frame;
    } background_;

    // One needle picture turned to each angle, at one scale.
    struct TurnedNeedles {
        std::shared_ptr<const Picture> picture;
        double scale = 0;
        std::map<double, Layer> by_degrees;
        size_t bytes = 0;
        bool full = false;  // an angle did not fit under the bound
    };
    std::map<size_t, TurnedNeedles> needles_;  // by element index
    size_t cached_bytes_ = 0;                  // of all needles
    LayerSampler sampler_;
    // The needle's turned picture for its angle, or null when the bound is
    // reached and the angle is new: then it is drawn as DrawGauge draws it.
    const Layer* TurnedNeedle(size_t index, const ElementState& element, const Placement& at, int frame_width,
                              int frame_height);
};
