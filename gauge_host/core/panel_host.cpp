#include "gauge_host/core/panel_host.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <utility>

#include "gauge_host/core/dib_reader.h"
#include "gauge_host/core/module_calls.h"

namespace {

PanelHost* Active;
uint64_t Draws;  // numbers each changed draw of any host, so a reloaded gauge's frames are new

bool ActiveRoot(ELEMENT_HEADER* root) { return Active && Active->IsRoot(root); }

// Each service runs as host code, whatever state the module left the FPU in.
void GAUGE_CALL Query(ELEMENT_HEADER* root)
{
    HostCode host;
    ActiveRoot(root);
}
void GAUGE_CALL Install(ELEMENT_HEADER* root, void* resource)
{
    HostCode host;
    if (ActiveRoot(root))
        Active->ServeInstall(resource);
}
void GAUGE_CALL Initialize(ELEMENT_HEADER* root)
{
    HostCode host;
    if (ActiveRoot(root))
        Active->ServeInitialize();
}
void GAUGE_CALL Update(ELEMENT_HEADER* root)
{
    HostCode host;
    if (ActiveRoot(root))
        Active->ServeUpdate();
}
void GAUGE_CALL Generate(ELEMENT_HEADER* root, uint32_t)
{
    HostCode host;
    ActiveRoot(root);
}
void GAUGE_CALL Draw(ELEMENT_HEADER* root)
{
    HostCode host;
    if (ActiveRoot(root))
        Active->ServeDraw();
}
void GAUGE_CALL Kill(ELEMENT_HEADER* root)
{
    HostCode host;
    if (ActiveRoot(root))
        Active->ServeKill();
}
void GAUGE_CALL TriggerKeyEvent(uint32_t event, int32_t value)
{
    HostCode host;
    if (Active)
        Active->ServeKeyEvent(event, value);
}

// The host cannot know what a call of a slot it does not offer pushed, and
// a standard-call caller expects the callee to pop it: returning would
// leave the gauge's stack wrong. So such a call ends the run.
template <int Slot>
[[noreturn]] void GAUGE_CALL Unsupported()
{
    fflush(stdout);
    fprintf(stderr, "gauge-host: the gauge called service slot %d, which this host does not offer: the run stops\n",
            Slot);
    exit(ExitBadInput);
}

template <int... Slots>
void FillUnsupported(void** slots, std::integer_sequence<int, Slots...>)
{
    ((slots[Slots] = (void*)&Unsupported<Slots>), ...);
}

HostPanelService MakeServiceTable()
{
    HostPanelService table{};
    FillUnsupported((void**)&table, std::make_integer_sequence<int, sizeof(HostPanelService) / sizeof(void*)>());
    table.query = Query;
    table.install = Install;
    table.initialize = Initialize;
    table.update = Update;
    table.generate = Generate;
    table.draw = Draw;
    table.kill = Kill;
    table.trigger_key_event = TriggerKeyEvent;
    return table;
}

// A needle's table maps values to angles piecewise linearly, held at its ends.
double AngleFromTable(const std::vector<NeedleAngle>& table, double value)
{
    if (value <= table.front().value)
        return table.front().degrees;
    for (size_t i = 1; i < table.size(); ++i)
        if (value <= table[i].value) {
            const NeedleAngle &a = table[i - 1], &b = table[i];
            return b.value == a.value ? b.degrees : a.degrees + (value - a.value) / (b.value - a.value) * (b.degrees - a.degrees);
        }
    return table.back().degrees;
}

// What the compositor reads of an element: its bitmap, angle and text.
bool LooksTheSame(const ElementState& a, const ElementState& b)
{
    return a.picture == b.picture && a.degrees == b.degrees && a.text == b.text;
}

}  // namespace

int RepeatCallsDue(double held_seconds)
{
    // The tolerance keeps a repeat that falls on a frame's time in that frame.
    constexpr double Tolerance = 1e-9;
    if (held_seconds + Tolerance < RepeatDelay)
        return 0;
    return 1 + int(floor((held_seconds - RepeatDelay) * RepeatRate + Tolerance));
}

void WriteEventCsvLine(FILE* file, const KeyEventRecord& e)
{
    fprintf(file, "%lld,%.3f,0x%08X,%d\n", (long long)e.frame, e.time_s, unsigned(e.event), int(e.value));
}

HostPanelService* PanelServiceTable()
{
    static HostPanelService table = MakeServiceTable();
    return &table;
}

PanelHost::PanelHost(const GaugeRecords& gauge, BitmapLoader load_bitmap, View view_)
    : view(view_), gauge_(gauge), load_bitmap_(std::move(load_bitmap))
{
    elements_.resize(gauge_.elements.size());
    for (size_t i = 0; i < elements_.size(); ++i)
        elements_[i].record = &gauge_.elements[i];
}

PanelHost::~PanelHost()
{
    Stop();
}

bool PanelHost::IsRoot(ELEMENT_HEADER* root)
{
    for (const ElementRecord& element : gauge_.elements)
        if (element.depth == 0 && element.live == root)
            return true;
    Warn("the gauge passed a service an element that is not one of its roots");
    return false;
}

bool PanelHost::Start(void* resource, std::string* error)
{
    Active = this;
    const GAUGEHDR& h = gauge_.header;
    if (h.query)
        CallModule("query routine", h.query);
    if (h.install)
        CallModule("install routine", h.install, resource);
    if (h.initialize)
        CallModule("initialize routine", h.initialize);
    if (h.generate)
        CallModule("generate routine", h.generate, uint32_t(0));
    return Placed(error);
}

bool PanelHost::Preview(void* resource, std::string* error)
{
    ServeInstall(resource);
    if (!Placed(error))
        return false;
    ServeDraw();
    return true;
}

bool PanelHost::Placed(std::string* error)
{
    auto refuse = [&](const std::string& message) {
        *error = "gauge \"" + gauge_.name + "\": " + message;
        return false;
    };
    if (!install_error_.empty())
        return refuse(install_error_);
    for (const ElementState& element : elements_)
        if (element.record->header.bitmap != BITMAP_NONE && element.record->header.kind != ELEMENT_TYPE_STRING &&
            !element.picture)
            return refuse("bitmap " + std::to_string(element.record->header.bitmap) +
                          " was never installed: the gauge's install routine did not reach the install service");
    const std::shared_ptr<const Picture>& root = elements_.front().picture;
    if (!root)
        return refuse("the root element has no bitmap, and the host sizes the gauge by it");
    width_ = root->width;
    height_ = root->height;
    return true;
}

void PanelHost::Stop()
{
    if (Active != this)
        return;
    Release();
    if (gauge_.header.kill)
        CallModule("kill routine", gauge_.header.kill);
    Active = nullptr;
}

void PanelHost::ServeInstall(void* resource)
{
    for (ElementState& element : elements_) {
        const ELEMENT_HEADER& h = element.record->header;
        if (h.bitmap == BITMAP_NONE || h.kind == ELEMENT_TYPE_STRING)
            continue;
        std::vector<uint8_t> bytes;
        std::string error;
        Dib dib;
        if (!load_bitmap_(resource, h.bitmap, &bytes, &error) || !ReadDib(bytes.data(), bytes.size(), &dib, &error)) {
            if (install_error_.empty())
                install_error_ = "bitmap " + std::to_string(h.bitmap) + ": " + error;
            continue;
        }
        element.picture = std::make_shared<Picture>(
            MakePicture(dib.width, dib.height, dib.rgb.data(), h.image_flags & IMAGE_USE_TRANSPARENCY));
    }
}

void PanelHost::ServeInitialize()
{
    for (ElementState& element : elements_)
        if (element.record->header.kind == ELEMENT_TYPE_STRING) {
            element.text.fill(0);
            static_cast<ELEMENT_STRING*>(element.record->live)->text = element.text.data();
        }
}

void PanelHost::ServeUpdate()
{
    for (ElementState& element : elements_) {
        const ElementRecord& record = *element.record;
        if (record.header.kind == ELEMENT_TYPE_STRING) {
            auto* live = static_cast<ELEMENT_STRING*>(record.live);
            for (int i = 0; i < STRING_SOURCES; ++i) {
                const uint32_t variable = record.string.source_variables[i];
                live->source_values[i] = variable == VARIABLE_NONE ? 0.0 : variables.Get(variable);
            }
            live->text = element.text.data();
            if (record.string.callback)
                CallModule("string callback", record.string.callback, live);
            element.text.back() = 0;  // whatever the callback wrote, the text ends in the buffer
        } else if (record.header.kind == ELEMENT_TYPE_NEEDLE) {
            auto* live = static_cast<ELEMENT_NEEDLE*>(record.live);
            const uint32_t variable = record.needle.source_variable;
            live->source_value = variable == VARIABLE_NONE ? 0.0 : variables.Get(variable);
            element.value =
                record.needle.callback ? CallModule("needle callback", record.needle.callback, live) : live->source_value;
            element.degrees = record.angles.empty() ? element.value : AngleFromTable(record.angles, element.value);
        }
    }
}

// The pixels are composed only when someone asks for them (frame()), and
// only when something visible changed since the draw they were composed
// for: most frames of a scenario are never looked at.
void PanelHost::ServeDraw()
{
    if (width_ == 0)
        return;  // still starting: nothing installed to draw
    has_frame_ = true;
    if (view == drawn_view_ && std::equal(elements_.begin(), elements_.end(), drawn_.begin(), drawn_.end(), LooksTheSame))
        return;
    drawn_ = elements_;
    drawn_view_ = view;
    drawn_version_ = ++Draws;
}

const Frame& PanelHost::frame()
{
    if (composed_version_ != drawn_version_) {
        compositor_.Draw(drawn_, width_, height_, drawn_view_, &frame_);
        composed_version_ = drawn_version_;
    }
    return frame_;
}

void PanelHost::ServeKill()
{
    for (ElementState& element : elements_) {
        if (element.record->header.kind == ELEMENT_TYPE_STRING)
            static_cast<ELEMENT_STRING*>(element.record->live)->text = nullptr;
        element.picture = {};
    }
}

void PanelHost::ServeKeyEvent(uint32_t event, int32_t value)
{
    key_events_.push_back({frames_, time_s(), event, value});
}

std::string PanelHost::Text(const ElementState& element) const
{
    return std::string(element.text.data(), strnlen(element.text.data(), element.text.size()));
}

void PanelHost::RunFrame()
{
    ++frames_;
    if (holding_) {
        const int due = RepeatCallsDue(double(frames_ - held_.since_frame) / FramesPerSecond);
        while (held_.repeats < due) {
            ++held_.repeats;
            CallHeld(held_.flags | MOUSE_REPEAT);
        }
    }
    if (gauge_.header.update)
        CallModule("update routine", gauge_.header.update);
    if (gauge_.header.draw)
        CallModule("draw routine", gauge_.header.draw);
}

void PanelHost::CallHeld(uint32_t flags)
{
    if (held_.function)
        CallModule("mouse function", held_.function, static_cast<const PIXPOINT*>(&held_.point), flags);
}

bool PanelHost::Press(int x, int y, MouseButton button)
{
    Release();
    const Hit hit = HitAt(x, y);
    if (hit.child < 0)
        return false;
    const MOUSERECT& area = gauge_.mouse_areas[hit.child].rect;
    const uint32_t flag = button == MouseButton::Left ? MOUSE_LEFT_SINGLE : MOUSE_RIGHT_SINGLE;
    if (!(area.flags & flag))
        return false;
    if (area.event_id)
        ServeKeyEvent(area.event_id, 0);
    held_ = {area.action.function, {x, y}, flag, frames_, 0};
    CallHeld(flag);
    holding_ = (area.flags & MOUSE_REPEAT) != 0;
    return true;
}

void PanelHost::Release()
{
    holding_ = false;
}
