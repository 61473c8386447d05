// variable_sliders.h: the preview window's sliders, one for each variable
// the gauge's records name, each with a label of its number and value.
// Up/Down and Page Up/Down move the one last touched (dragged, clicked or
// given the focus); until then the first.
//
// Usage:
//   VariableSliders sliders;
//   sliders.Create(parent, font, after, VariablesNamed(gauge));  // again after a reload
//   y = sliders.Place(x, y, width);  // laid out from y down
//   sliders.Show(host.variables);    // after a variable changed
//   if (sliders.Moved(control, host.variables, &number, &value)) ...  // on WM_HSCROLL
//   if (sliders.Stepped(GetFocus(), host.variables, positions, &number, &value)) ...  // on a key
#pragma once

#include <windows.h>

#include <stdint.h>

#include <vector>

#include "gauge_host/core/panel_host.h"

class VariableSliders {
public:
    // One slider for each of the variables, up to MaxSliders, in place of
    // those before (the controls follow `after` in the tab order). False
    // when the variables are the ones it already has: nothing changes.
    bool Create(HWND parent, HFONT font, HWND after, const std::vector<uint32_t>& variables);
    // The pixels they take down the panel; 0 when there are none.
    int Height() const;
    int Place(int x, int y, int width);  // returns the y below them
    void Show(const HostVariables& values);
    // A slider's scroll message: it becomes the touched one; true, with the
    // variable and its new value, when its thumb moved to another position.
    bool Moved(HWND control, const HostVariables& values, uint32_t* number, double* value);
    // A key's step of that many positions for the touched slider, or the
    // one with the focus; false when there is none or it is at its end.
    bool Stepped(HWND focus, const HostVariables& values, int positions, uint32_t* number, double* value);

private:
    struct Row {
        uint32_t variable;
        HWND label, slider;
    };
    HWND AddControl(const char* type, DWORD style, HWND* after);
    void Destroy();
    void Touch(size_t row, const HostVariables& values);
    int RowOf(HWND control) const;

    HWND parent_ = nullptr;
    HFONT font_ = nullptr;
    std::vector<uint32_t> variables_;  // every one named, with a slider or not
    std::vector<Row> rows_;
    HWND keys_ = nullptr, more_ = nullptr;  // the line on the keys, the line on those left out
    size_t touched_ = 0;
};
