// frame_costs.h: what a frame of a started gauge costs, measured the same
// way by the native benchmark and the 32-bit Windows one.
//
// Usage:
//   FrameCosts costs(&host, 2.0);       // the host started, the knob drawn at each of its 201 angles
//   costs.NewAngle();                   // one frame, the knob at the next of its 201 angles
//   costs.NewAngleUncached();           // one frame, the knob at an angle never drawn before
//   costs.Unchanged();                  // one frame of the host, nothing visible changed
//   costs.Copy();                       // the floor: the frame's bytes copied once
//   PrintFrameCosts(scale, frame_us, ..., costs.pixels());
#pragma once

#include <vector>

#include "gauge_host/core/panel_host.h"

constexpr double BenchmarkScales[] = {1, 2, 3};
constexpr int KnobAngles = 201;  // the TIY knob: -100 to 100 degrees

class FrameCosts {
public:
    FrameCosts(PanelHost* host, double scale);

    void NewAngle();
    void NewAngleUncached();
    void Unchanged();
    void Copy();
    double pixels() const { return double(frame_.width) * frame_.height; }

private:
    void DrawKnobAt(double degrees);

    PanelHost& host_;
    View view_;
    std::vector<ElementState> elements_;
    size_t knob_ = 0;
    int step_ = 0;
    Compositor compositor_;
    Frame frame_;
    std::vector<uint8_t> copy_from_, copy_to_;
};

// Times in microseconds, the fastest of several runs.
struct FrameTimes {
    double new_angle, new_angle_uncached, unchanged, copy;
};
void PrintFrameCosts(double scale, const FrameTimes& times, double pixels);
