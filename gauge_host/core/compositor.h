// compositor.h: draws a gauge's elements, in tree order, into a frame.
//
// Usage:
//   Frame frame;
//   DrawGauge(elements, gauge_width, gauge_height, view, &frame);
//
// The frame is resized to the gauge at the view's scale and starts as the
// panel behind the gauge. Static images are placed at their position;
// needles turn about their offset, placed on their position, clockwise by
// their angle, bilinear filtered; string elements draw their text in the
// seven-segment face, in their colour. With the transparency flag, pure
// black is not drawn. At night everything but the bright elements is
// dimmed.
#pragma once

#include <vector>

#include "gauge_host/core/element_state.h"

constexpr RgbColour PanelColour = {38, 42, 48};
constexpr uint32_t NightBrightness = 90;  // of FullBrightness

int FrameSize(int gauge_size, double scale);

void DrawGauge(const std::vector<ElementState>& elements, int gauge_width, int gauge_height, const View& view,
               Frame* frame);
