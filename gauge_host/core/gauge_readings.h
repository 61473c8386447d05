// gauge_readings.h: the elements a scenario reads back -- the two
// readouts (the leftmost and rightmost string elements) and the knob (the
// needle element). Null when the gauge has no such elements.
#pragma once

#include "gauge_host/core/panel_host.h"

const ElementState* FindReadout(const PanelHost& host, bool right);
const ElementState* FindKnob(const PanelHost& host);
