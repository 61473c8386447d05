#include "gauge_host/core/scenario_animation.h"

#include "gauge_host/core/output_files.h"
#include "gauge_host/core/panel_host.h"

void ScenarioAnimation::AddFrame(const Frame& frame)
{
    // The frame stands from its own start to the next one's: the ticks
    // whose start falls in that time are its.
    ++scenario_frames_;
    const int64_t ticks_by_end = (scenario_frames_ * fps_ + FramesPerSecond - 1) / FramesPerSecond;
    const int64_t ticks = ticks_by_end - ticks_;
    ticks_ = ticks_by_end;
    last_unshown_ = ticks == 0;
    if (last_unshown_) {
        unshown_ = frame;
        return;
    }
    if (!apng_)
        apng_ = std::make_unique<ApngWriter>(frame.width, frame.height, fps_);
    if (pending_ticks_ && frame.rgb == pending_.rgb) {
        pending_ticks_ += ticks;
        return;
    }
    FlushPending();
    pending_ = frame;
    pending_ticks_ = ticks;
}

void ScenarioAnimation::FlushPending()
{
    if (pending_ticks_)
        apng_->AddFrame(pending_.rgb.data(), pending_.Stride(), pending_ticks_);
    pending_ticks_ = 0;
}

bool ScenarioAnimation::Write(const std::string& path, std::string* error)
{
    if (!apng_) {
        *error = "the scenario draws no frame to animate";
        return false;
    }
    if (last_unshown_ && unshown_.rgb != pending_.rgb) {
        FlushPending();
        pending_ = unshown_;
        pending_ticks_ = 1;
        last_unshown_ = false;
    }
    FlushPending();
    return MakeFolderOf(path, error) && apng_->Write(path, error);
}
