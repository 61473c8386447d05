// preview_window.h: gauge-host show's main window -- the gauge on the left,
// drawn at the window's size; on the right the host's side of the panel:
// a line for reloads and errors, a slider for each variable the gauge's
// records name, the list of them and a box to set any variable by number,
// the day/night switch and the live key event log.
//
// Usage:
//   PreviewWindow window(&live_gauge, &event_log, &recorder);  // recorder may be null
//   if (!window.Create(size)) ...
//   while (GetMessageA(&msg, nullptr, 0, 0) > 0)
//       if (!window.HandleMessage(&msg)) { TranslateMessage(&msg); DispatchMessageA(&msg); }
//
// Frames run on a timer at the host's rate, by the clock: a late timer
// runs the frames it owes, a long stall is skipped rather than replayed.
#pragma once

#include <windows.h>

#include <stdint.h>

#include <string>
#include <vector>

#include "gauge_host/window/event_log.h"
#include "gauge_host/window/gauge_view.h"
#include "gauge_host/window/live_gauge.h"
#include "gauge_host/window/variable_sliders.h"
#include "gauge_host/window/window_procedure.h"

class PreviewWindow {
public:
    PreviewWindow(LiveGauge* gauge, EventLog* log, SessionRecorder* recorder)
        : gauge_(gauge), log_(log), recorder_(recorder)
    {
    }
    ~PreviewWindow();
    PreviewWindow(const PreviewWindow&) = delete;
    PreviewWindow& operator=(const PreviewWindow&) = delete;

    // gauge_width: the gauge's width on screen, 0 for its face's own size.
    bool Create(int gauge_width);
    // The window's keys and dialog navigation; true when the message was used.
    bool HandleMessage(MSG* message);
    HWND hwnd() const { return hwnd_; }

private:
    friend LRESULT CALLBACK WindowProcedure<PreviewWindow>(HWND, UINT, WPARAM, LPARAM);
    LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
    void CreateControls();
    HWND AddControl(const char* type, const char* text, DWORD style, int id);
    void Layout(int width, int height);
    int PanelHeight() const;
    void ResizeClient(int width, int height);
    void FitPanel();
    void Tick();
    void ReloadIfChanged();
    void ShowStall();  // a call into the module hung: say which
    void RestartClock();
    void SetVariable(uint32_t number, double value);
    void SetFromBox();
    void FillBoxFromList();
    void ShowVariables();
    void ShowMessage(const std::string& text, bool error);
    void SetText(int id, const std::string& text);

    LiveGauge* gauge_;
    EventLog* log_;
    SessionRecorder* recorder_;
    GaugeView view_;
    VariableSliders sliders_;
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr, fixed_font_ = nullptr;
    bool message_is_error_ = false;
    std::string pointer_text_;
    std::vector<uint32_t> listed_;  // the variables in the list, in its order
    std::vector<uint32_t> set_by_hand_;  // set through the box, though the gauge may not read them
    LARGE_INTEGER clock_start_{}, clock_rate_{};
    int64_t frames_run_ = 0;  // since the clock started
    int64_t next_poll_ = 0;
};
