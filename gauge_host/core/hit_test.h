// hit_test.h: which mouse area lies under a point of the gauge.
//
// Points and boxes are in unscaled face pixels from the gauge's top-left
// corner. A box (x, y, w, h) holds the points x..x+w and y..y+h, its far
// edges included, so two 299-wide halves at x 0 and 300 cover a 600-wide
// gauge with no gap. A parent with a zero-size box stands for the whole
// gauge (0..width-1, 0..height-1); a child counts only inside its parent.
// The first child in list order that holds the point wins.
#pragma once

#include <string>
#include <vector>

#include "gauge_host/core/record_walk.h"

struct Hit {
    int child = -1;  // index into the mouse areas, or -1
    int32_t cursor = CURSOR_NONE;  // the child's cursor, else its parent's
    std::string tooltip;  // the enclosing parent's user entry
};

Hit HitTest(const std::vector<MouseAreaRecord>& areas, int gauge_width, int gauge_height, int x, int y);

// The whole gauge's tooltip: the user entry of the first top-level parent.
std::string GaugeTooltip(const std::vector<MouseAreaRecord>& areas);

// "up", "down", "none", or "cursor N" for the numbers this host has no name for.
std::string CursorName(int32_t cursor);
