// gauge_view.h: the child window that shows a gauge's frames and takes the
// mouse as a panel does: presses through the module's mouse areas (the
// host decides which buttons an area takes, and repeats a held one), the
// area's cursor, the gauge's tooltip.
//
// Usage:
//   GaugeView view;
//   view.Create(parent, &live_gauge, &recorder);  // recorder may be null
//   view.Place(x, y, width, height);  // refits the gauge to the area
//   view.Present();                    // each frame: the host's last frame on screen
#pragma once

#include <windows.h>

#include <stdint.h>

#include <string>
#include <vector>

#include "gauge_host/core/gauge_fit.h"
#include "gauge_host/core/session_recorder.h"
#include "gauge_host/window/live_gauge.h"
#include "gauge_host/window/window_procedure.h"

class GaugeView {
public:
    bool Create(HWND parent, LiveGauge* gauge, SessionRecorder* recorder);
    void Place(int x, int y, int width, int height);
    void Present();
    // Where the pointer is on the face and what lies there, for a status line.
    std::string PointerText() const;

private:
    friend LRESULT CALLBACK WindowProcedure<GaugeView>(HWND, UINT, WPARAM, LPARAM);
    LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
    void Refit();
    void Paint();
    void PointerAt(int x, int y);
    void Press(MouseButton button);
    void ShowTooltip(const std::string& text);

    HWND hwnd_ = nullptr;
    HWND tooltip_ = nullptr;
    LiveGauge* gauge_ = nullptr;
    SessionRecorder* recorder_ = nullptr;
    GaugeFit fit_;
    int frame_width_ = 0, frame_height_ = 0;
    uint64_t shown_version_ = 0;  // the host frame pixels_ holds
    std::vector<uint32_t> pixels_;  // the frame as a top-down 32-bit DIB
    bool pointer_inside_ = false;  // over the drawn gauge
    int face_x_ = 0, face_y_ = 0;
    Hit hit_;
    std::string tooltip_text_;
};
