// scenario_animation.h: a scenario's drawn frames as an animated PNG.
//
// Usage:
//   ScenarioAnimation animation(fps);
//   animation.AddFrame(host.frame());     // after each of the scenario's frames
//   if (!animation.Write("demo.png", &error)) ...
//   animation.frames(), .width(), .height()
//
// The scenario's frames come FramesPerSecond a second; the animation shows
// what stood at each of its own ticks, `fps` a second, so a slower
// animation drops frames and a faster one shows each for several ticks.
// Identical consecutive pictures become one frame shown the longer. The
// scenario's last picture is always shown, for a tick if it got none.
#pragma once

#include <stdint.h>

#include <memory>
#include <string>

#include "common/apng_writer.h"
#include "gauge_host/core/pixels.h"

constexpr int MinAnimationFps = 1, MaxAnimationFps = 100;

class ScenarioAnimation {
public:
    explicit ScenarioAnimation(int fps) : fps_(fps) {}

    void AddFrame(const Frame& frame);
    // False with a message when nothing was drawn or the file cannot be
    // written.
    bool Write(const std::string& path, std::string* error);

    int frames() const { return apng_ ? apng_->frames() : 0; }
    int width() const { return pending_.width; }
    int height() const { return pending_.height; }

private:
    void FlushPending();

    int fps_;
    int64_t scenario_frames_ = 0;
    int64_t ticks_ = 0;  // ticks given out so far
    Frame pending_;  // the picture now standing, not yet compressed
    int64_t pending_ticks_ = 0;
    Frame unshown_;  // the last picture, when it fell between two ticks
    bool last_unshown_ = false;
    std::unique_ptr<ApngWriter> apng_;
};
