#include "gauge_host/window/variable_sliders.h"

#include <commctrl.h>

#include "common/numbers.h"
#include "gauge_host/core/variable_input.h"
#include "gauge_host/window/panel_metrics.h"

namespace {

constexpr int SliderRowHeight = 28;  // a slider with its ticks
constexpr int LabelWidth = 96;
const char KeysLine[] = "Up/Down 0.01, Page Up/Down 0.1 move the > slider";
const char Marker[] = "> ";

}  // namespace

HWND VariableSliders::AddControl(const char* type, DWORD style, HWND* after)
{
    HWND control = CreateWindowExA(0, type, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent_, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, WPARAM(font_), FALSE);
    SetWindowPos(control, *after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    *after = control;
    return control;
}

void VariableSliders::Destroy()
{
    for (const Row& row : rows_) {
        DestroyWindow(row.label);
        DestroyWindow(row.slider);
    }
    for (HWND line : {keys_, more_})
        if (line)
            DestroyWindow(line);
    rows_.clear();
    keys_ = more_ = nullptr;
}

bool VariableSliders::Create(HWND parent, HFONT font, HWND after, const std::vector<uint32_t>& variables)
{
    if (parent == parent_ && variables == variables_)
        return false;
    Destroy();
    parent_ = parent;
    font_ = font;
    variables_ = variables;
    touched_ = 0;
    if (variables_.empty())
        return true;
    keys_ = AddControl("STATIC", SS_LEFT, &after);
    SetWindowTextA(keys_, KeysLine);
    for (size_t i = 0; i < variables_.size() && i < MaxSliders; ++i) {
        Row row{variables_[i], AddControl("STATIC", SS_LEFT | SS_CENTERIMAGE, &after),
                AddControl(TRACKBAR_CLASSA, WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS, &after)};
        SendMessageA(row.slider, TBM_SETRANGE, FALSE, MAKELPARAM(0, SliderPositions));
        SendMessageA(row.slider, TBM_SETTICFREQ, PageStepPositions, 0);
        SendMessageA(row.slider, TBM_SETLINESIZE, 0, KeyStepPositions);
        SendMessageA(row.slider, TBM_SETPAGESIZE, 0, PageStepPositions);
        rows_.push_back(row);
    }
    if (variables_.size() > rows_.size()) {
        more_ = AddControl("STATIC", SS_LEFT, &after);
        const std::string text = std::to_string(variables_.size() - rows_.size()) +
                                 " more without a slider: set them by number below.";
        SetWindowTextA(more_, text.c_str());
    }
    return true;
}

int VariableSliders::Height() const
{
    return (keys_ ? PanelLineHeight : 0) + int(rows_.size()) * SliderRowHeight + (more_ ? PanelLineHeight : 0);
}

int VariableSliders::Place(int x, int y, int width)
{
    if (keys_) {
        MoveWindow(keys_, x, y, width, PanelLineHeight, FALSE);
        y += PanelLineHeight;
    }
    for (const Row& row : rows_) {
        MoveWindow(row.label, x, y, LabelWidth, SliderRowHeight, FALSE);
        MoveWindow(row.slider, x + LabelWidth, y, width - LabelWidth, SliderRowHeight, FALSE);
        y += SliderRowHeight;
    }
    if (more_) {
        MoveWindow(more_, x, y, width, PanelLineHeight, FALSE);
        y += PanelLineHeight;
    }
    return y;
}

void VariableSliders::Show(const HostVariables& values)
{
    for (size_t i = 0; i < rows_.size(); ++i) {
        const double value = values.Get(rows_[i].variable);
        const std::string label =
            (i == touched_ ? Marker : "") + std::to_string(rows_[i].variable) + " = " + ShortNumber(value);
        SetWindowTextA(rows_[i].label, label.c_str());
        SendMessageA(rows_[i].slider, TBM_SETPOS, TRUE, SliderPosition(value));
    }
}

void VariableSliders::Touch(size_t row, const HostVariables& values)
{
    if (row == touched_)
        return;
    touched_ = row;
    Show(values);
}

int VariableSliders::RowOf(HWND control) const
{
    for (size_t i = 0; i < rows_.size(); ++i)
        if (control && rows_[i].slider == control)
            return int(i);
    return -1;
}

bool VariableSliders::Moved(HWND control, const HostVariables& values, uint32_t* number, double* value)
{
    const int row = RowOf(control);
    if (row < 0)
        return false;
    // Read before Touch, which puts every thumb back where its value is.
    const int position = int(SendMessageA(control, TBM_GETPOS, 0, 0));
    Touch(size_t(row), values);
    *number = rows_[row].variable;
    // A click on the thumb, or the message that ends a drag, leaves it
    // where it was: the value stays as it is, off the grid or not.
    if (position == SliderPosition(values.Get(*number)))
        return false;
    *value = SliderValue(position);
    return true;
}

bool VariableSliders::Stepped(HWND focus, const HostVariables& values, int positions, uint32_t* number,
                              double* value)
{
    if (rows_.empty())
        return false;
    const int focused = RowOf(focus);
    if (focused >= 0)
        Touch(size_t(focused), values);
    *number = rows_[touched_].variable;
    const double now = values.Get(*number);
    *value = SteppedValue(now, positions);
    return *value != now;
}
