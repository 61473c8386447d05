// area_overlay.h: the mouse areas drawn over a gauge's frame, each child
// tinted by its cursor and outlined, and the checks a panel builder wants
// of them: children that overlap and areas that fall outside the gauge.
#pragma once

#include <string>
#include <vector>

#include "gauge_host/core/pixels.h"
#include "gauge_host/core/record_walk.h"

struct AreaTint {
    const char* name;  // for the printed legend
    RgbColour colour;
};
AreaTint TintOf(int32_t cursor);

void DrawMouseAreas(Frame* frame, const std::vector<MouseAreaRecord>& areas, double scale);

std::vector<std::string> CheckMouseAreas(const std::vector<MouseAreaRecord>& areas, int gauge_width,
                                         int gauge_height);
