#include "gauge_host/core/session_recorder.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>

#include "common/text_format.h"
#include "gauge_host/core/gauge_readings.h"
#include "gauge_host/core/scenario_parser.h"

namespace {

// The fewest digits that read back as the very value: 0.45, not
// 0.45000000000000001.
std::string Real(double value)
{
    char text[32];
    for (int digits = 1; digits <= 17; ++digits) {
        snprintf(text, sizeof text, "%.*g", digits, value);
        if (strtod(text, nullptr) == value)
            break;
    }
    return text;
}

}  // namespace

void SessionRecorder::RunFramesTo(int64_t frame)
{
    while (written_frames_ < frame) {
        const int64_t count = std::min<int64_t>(frame - written_frames_, MaxFrameCount);
        lines_ += count == 1 ? "frame\n" : Format("frame %lld\n", (long long)count);
        written_frames_ += count;
    }
}

void SessionRecorder::Press(int64_t frame, int x, int y, MouseButton button)
{
    if (pressed_)
        Release(frame);
    RunFramesTo(frame);
    pressed_ = true;
    press_frame_ = frame;
    press_x_ = x;
    press_y_ = y;
    press_button_ = button;
}

void SessionRecorder::Release(int64_t frame)
{
    if (!pressed_)
        return;
    pressed_ = false;
    const int64_t held = frame - press_frame_;
    const bool right = press_button_ == MouseButton::Right;
    if (held == 0 || right) {
        // A scenario holds the left button only; the right one acts at the
        // press, so its click and the frames after it do the same.
        lines_ += Format("click %d %d%s\n", press_x_, press_y_, right ? " right" : "");
        written_frames_ = std::max(written_frames_, press_frame_) + 1;
    } else {
        // Seconds that round back to the very frame count; a scenario holds
        // an hour at most.
        const double longest = MaxHoldSeconds * FramesPerSecond;
        const int64_t frames = std::min<int64_t>(held, int64_t(longest));
        lines_ += Format("hold %d %d %.6f\n", press_x_, press_y_, double(frames) / FramesPerSecond);
        written_frames_ = std::max(written_frames_, press_frame_) + frames;
    }
    lines_ += during_press_;
    during_press_.clear();
}

void SessionRecorder::SetVariable(int64_t frame, uint32_t number, double value)
{
    const std::string line = Format("var %u %s\n", unsigned(number), Real(value).c_str());
    if (pressed_) {
        // A scenario cannot change a variable inside a hold: the change
        // follows it, and says when it really came.
        during_press_ += Format("# set %lld frames into the hold above\n", (long long)(frame - press_frame_)) + line;
        return;
    }
    RunFramesTo(frame);
    lines_ += line;
}

std::string SessionRecorder::Finish(const PanelHost& host, const std::string& header)
{
    Release(host.frames());
    RunFramesTo(host.frames());
    std::string text = header + lines_;
    text += "\n# as the session ended\n";
    for (const KeyEventRecord& e : host.key_events())
        text += Format("expect event 0x%08X %d\n", unsigned(e.event), int(e.value));
    text += "expect no-event\n";
    for (bool right : {false, true})
        if (const ElementState* readout = FindReadout(host, right))
            text += std::string("expect readout ") + (right ? "right " : "left ") +
                    QuoteScenarioText(host.Text(*readout)) + "\n";
    if (const ElementState* knob = FindKnob(host))
        text += "expect knob " + Real(knob->value) + "\n";
    return text;
}
