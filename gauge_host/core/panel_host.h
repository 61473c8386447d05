// panel_host.h: the host's side of the panel interface -- the service
// table a gauge module calls, the host variables, the key event log, the
// mouse, and the frame the gauge was last drawn into.
//
// Usage:
//   // The loader stores PanelServiceTable() in the module's ImportTable.
//   PanelHost host(gauge_records, load_bitmap, view);
//   if (!host.Start(resource_handle, &error)) ...
//   host.variables.Set(558, 0.45);
//   host.Press(450, 300, MouseButton::Left);
//   host.Release();
//   host.RunFrame();  // the gauge's update, then its draw
//
// The gauge's routines hand each call to the services with its root
// element, so a frame goes host -> gauge routine -> service -> element
// callbacks, as in a real panel. One host is active at a time: the one
// most recently started.
#pragma once

#include <stdint.h>
#include <stdio.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "gauge_host/core/compositor.h"
#include "gauge_host/core/element_state.h"
#include "gauge_host/core/hit_test.h"

constexpr int FramesPerSecond = 18;
// A held button: the first call at the press, then after RepeatDelay
// seconds RepeatRate calls a second.
constexpr double RepeatDelay = 0.5;
constexpr double RepeatRate = 10;

// Repeat calls due after the button has been held this long, the press's
// own call not counted.
int RepeatCallsDue(double held_seconds);

// gauge-host's exit statuses.
enum ExitStatus { ExitOk = 0, ExitFailed = 1, ExitBadInput = 2 };

// The table whose slots reach the active host. A call of a slot the host
// does not offer ends the program with one line and ExitBadInput.
HostPanelService* PanelServiceTable();

// Fetches bitmap resource `number` through the resource handle the gauge
// passed to its install routine.
using BitmapLoader = std::function<bool(void* resource, int32_t number, std::vector<uint8_t>* dib, std::string* error)>;

struct KeyEventRecord {
    int64_t frame;
    double time_s;
    uint32_t event;
    int32_t value;
};

// The event log's file format, for run's events.csv and show's --log.
constexpr const char* EventCsvHeader = "frame,time_s,event,value\n";
void WriteEventCsvLine(FILE* file, const KeyEventRecord& event);

// Host variables by number; one never set reads 0.0.
class HostVariables {
public:
    void Set(uint32_t number, double value) { values_[number] = value; }
    double Get(uint32_t number) const
    {
        auto it = values_.find(number);
        return it == values_.end() ? 0.0 : it->second;
    }

private:
    std::map<uint32_t, double> values_;
};

enum class MouseButton { Left, Right };

class PanelHost {
public:
    PanelHost(const GaugeRecords& gauge, BitmapLoader load_bitmap, View view);
    ~PanelHost();
    PanelHost(const PanelHost&) = delete;
    PanelHost& operator=(const PanelHost&) = delete;

    // Query, install with this resource handle, initialize and generate, as
    // a panel does when it places the gauge. Fails when a bitmap cannot be
    // loaded or the root element gives the gauge no size, with a message
    // that names the gauge.
    bool Start(void* resource, std::string* error);
    // The gauge as placed without running any of its code: the host itself
    // installs the bitmaps and draws the elements once, at rest.
    bool Preview(void* resource, std::string* error);
    void Stop();  // the gauge's kill; the host then holds no link into the module

    void RunFrame();
    // Calls the child area's function under the point if its flags ask for
    // this button; a held area that asks for repeats keeps calling at the
    // repeat rate as frames run, until Release. Returns whether it called.
    bool Press(int x, int y, MouseButton button);
    void Release();

    HostVariables variables;
    View view;

    const GaugeRecords& gauge() const { return gauge_; }
    int width() const { return width_; }
    int height() const { return height_; }
    int64_t frames() const { return frames_; }
    double time_s() const { return double(frames_) / FramesPerSecond; }
    const std::vector<KeyEventRecord>& key_events() const { return key_events_; }
    const std::vector<ElementState>& elements() const { return elements_; }
    // The frame as of the last draw service, composed on first use.
    const Frame& frame();
    bool has_frame() const { return has_frame_; }
    // Changes whenever a draw shows something the last one did not, and
    // differs from every other host's.
    uint64_t frame_version() const { return drawn_version_; }
    // Calls the gauge made that this host does not serve, one line each.
    const std::set<std::string>& warnings() const { return warnings_; }

    std::string Text(const ElementState& element) const;
    Hit HitAt(int x, int y) const { return HitTest(gauge_.mouse_areas, width_, height_, x, y); }

    // Service entry points, reached through PanelServiceTable().
    void ServeInstall(void* resource);
    void ServeInitialize();
    void ServeUpdate();
    void ServeDraw();
    void ServeKill();
    void ServeKeyEvent(uint32_t event, int32_t value);
    bool IsRoot(ELEMENT_HEADER* root);
    void Warn(std::string warning) { warnings_.insert(std::move(warning)); }

private:
    void CallHeld(uint32_t flags);
    bool Placed(std::string* error);  // sized by its root bitmap, every bitmap installed

    GaugeRecords gauge_;
    BitmapLoader load_bitmap_;
    std::vector<ElementState> elements_;
    std::string install_error_;
    int width_ = 0, height_ = 0;
    int64_t frames_ = 0;
    std::vector<KeyEventRecord> key_events_;
    bool has_frame_ = false;
    std::vector<ElementState> drawn_;  // the elements as the last draw service saw them
    View drawn_view_;
    uint64_t drawn_version_ = 0, composed_version_ = 0;
    Compositor compositor_;
    Frame frame_;
    std::set<std::string> warnings_;

    struct Held {
        MouseFunction function = nullptr;
        PIXPOINT point{};
        uint32_t flags = 0;
        int64_t since_frame = 0;
        int repeats = 0;
    };
    bool holding_ = false;
    Held held_;
};
