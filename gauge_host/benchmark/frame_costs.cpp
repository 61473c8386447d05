#include "gauge_host/benchmark/frame_costs.h"

#include <stdio.h>
#include <string.h>

namespace {

constexpr double UncachedStep = 1.0 / 1024;  // degrees: no angle drawn twice

}  // namespace

FrameCosts::FrameCosts(PanelHost* host, double scale) : host_(*host), view_{scale, Light::Day}
{
    host_.view = view_;
    host_.RunFrame();
    host_.frame();
    elements_ = host_.elements();
    while (knob_ + 1 < elements_.size() && elements_[knob_].record->header.kind != ELEMENT_TYPE_NEEDLE)
        ++knob_;
    // Every angle drawn once, as a scenario has after the knob's first
    // sweep: what a new angle then costs is what the cache leaves.
    for (int step = 0; step < KnobAngles; ++step)
        NewAngle();
    copy_from_.assign(frame_.rgb.size(), 1);
    copy_to_.resize(frame_.rgb.size());
}

void FrameCosts::DrawKnobAt(double degrees)
{
    elements_[knob_].degrees = degrees;
    compositor_.Draw(elements_, host_.width(), host_.height(), view_, &frame_);
}

void FrameCosts::NewAngle()
{
    step_ = (step_ + 1) % KnobAngles;
    DrawKnobAt(step_ - (KnobAngles - 1) / 2);
}

void FrameCosts::NewAngleUncached()
{
    ++step_;
    DrawKnobAt(step_ * UncachedStep);
}

void FrameCosts::Unchanged()
{
    host_.RunFrame();
    host_.frame();
}

void FrameCosts::Copy()
{
    memcpy(copy_to_.data(), copy_from_.data(), copy_from_.size());
}

void PrintFrameCosts(double scale, const FrameTimes& t, double pixels)
{
    printf("scale %g (%.0f pixels): knob at a new angle %.1f us (%.1f x copy floor, %.2f ns per output pixel); "
           "at an angle never drawn %.1f us (%.1f x, %.2f ns); nothing changed %.2f us (%.3f x); copy floor %.1f us\n",
           scale, pixels, t.new_angle, t.new_angle / t.copy, t.new_angle * 1000 / pixels, t.new_angle_uncached,
           t.new_angle_uncached / t.copy, t.new_angle_uncached * 1000 / pixels, t.unchanged, t.unchanged / t.copy,
           t.copy);
}
