// The yaw controller: the pilot's yaw setting, the knob and readout values
// that show it, and the watch on the monitored variable that sends it.
#pragma once

#include "host/gauges.h"

constexpr int32_t Step = 100;            // change of YawAmount per mouse call
constexpr int32_t Limit = 16000;         // largest magnitude, shown as 100
constexpr int32_t DisplayDivisor = 160;  // YawAmount units per displayed unit
constexpr double Threshold = 0.005;      // a larger change sends YawEvent
constexpr uint32_t YawEvent = 0x000100E4;
constexpr uint32_t MonitoredVariable = 558;
constexpr int MonitoredSource = 1;  // MonitoredVariable's place in the readout's sources

// The module's only mutable state; every load starts from 0 and 0.0.
extern int32_t YawAmount;
extern double LastMonitoredValue;

int32_t GAUGE_CALL YawDecrease(const PIXPOINT* point, uint32_t flags);
int32_t GAUGE_CALL YawIncrease(const PIXPOINT* point, uint32_t flags);
double GAUGE_CALL KnobValueCallback(ELEMENT_NEEDLE* knob);
double GAUGE_CALL LeftReadoutCallback(ELEMENT_STRING* readout);
double GAUGE_CALL RightReadoutCallback(ELEMENT_STRING* readout);
