// session_recorder.h: what a person does in the live window, written as a
// scenario that `gauge-host run` replays.
//
// Usage:
//   SessionRecorder recorder;
//   recorder.Press(host.frames(), x, y, MouseButton::Left);  // as they happen,
//   recorder.Release(host.frames());                          // on the host's
//   recorder.SetVariable(host.frames(), 558, 0.45);           // frame clock
//   std::string text = recorder.Finish(host, "# header\n");
//
// The time between inputs becomes `frame N`; a press and release with no
// frame between becomes `click`, one held across frames `hold X Y
// SECONDS`. Finish adds `expect` lines for every key event the gauge sent,
// that no other came, and for both readouts and the knob as they stand, so
// the recording is a regression test as it is.
//
// A variable changed while the button is held is set as the hold ends, as
// a scenario cannot reach inside a hold; a comment says when it came.
//
// A click runs one frame of its own in a scenario; clicks faster than the
// frames borrow that frame from the time after them, so the key events
// keep their order and the clock drifts by at most the clicks' count.
#pragma once

#include <stdint.h>

#include <string>

#include "gauge_host/core/panel_host.h"

class SessionRecorder {
public:
    void Press(int64_t frame, int x, int y, MouseButton button);
    void Release(int64_t frame);
    void SetVariable(int64_t frame, uint32_t number, double value);
    // The whole scenario: header, the inputs, the frames up to the host's
    // last, the expectations.
    std::string Finish(const PanelHost& host, const std::string& header);
    // A new gauge from frame 0: what was recorded no longer replays.
    void Restart() { *this = SessionRecorder(); }

private:
    void RunFramesTo(int64_t frame);

    std::string lines_;
    int64_t written_frames_ = 0;  // the frames the lines so far run
    bool pressed_ = false;
    int64_t press_frame_ = 0;
    int press_x_ = 0, press_y_ = 0;
    MouseButton press_button_ = MouseButton::Left;
    std::string during_press_;  // variable changes made while the button was down
};
