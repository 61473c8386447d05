#include "gauge_host/window/preview_window.h"

#include <stdio.h>

#include <algorithm>

#include "gauge_host/core/record_lookup.h"
#include "gauge_host/core/variable_input.h"
#include "common/numbers.h"
#include "gauge_host/window/panel_metrics.h"

namespace {

const char ClassName[] = "GaugeHostShow";

enum ControlId {
    IdTitle = 100,
    IdMessage,
    IdPointer,
    IdVariablesLabel,
    IdVariables,
    IdSetLabel,
    IdNumber,
    IdEquals,
    IdValue,
    IdSet,
    IdNight,
    IdLogLabel,
    IdLogHeading,
    IdLog,
};

// The side panel, in client pixels.
constexpr int PanelWidth = 340;
constexpr int Margin = 8;
constexpr int MessageLines = 3;
constexpr int VariableLines = 4;
constexpr int RowHeight = 24;  // an edit box or a button
constexpr int MinLogHeight = 120;
constexpr int MinGaugeWidth = 100;

constexpr UINT_PTR FrameTimer = 1;
// Twice the frame rate, so a frame is never much more than half a frame late.
constexpr UINT TimerMilliseconds = 1000 / FramesPerSecond / 2;
constexpr int64_t MaxFramesBehind = FramesPerSecond / 2;
constexpr int64_t PollFrames = FramesPerSecond / 2;  // the file is checked twice a second

const COLORREF ErrorColour = RGB(176, 0, 0);

std::string TimeOfDay()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[16];
    snprintf(text, sizeof text, "%02d:%02d:%02d", now.wHour, now.wMinute, now.wSecond);
    return text;
}

std::string WindowText(HWND control)
{
    char text[256];
    GetWindowTextA(control, text, sizeof text);
    return text;
}

bool IsEditBox(HWND window)
{
    char type[16];
    return window && GetClassNameA(window, type, sizeof type) && lstrcmpiA(type, "Edit") == 0;
}

}  // namespace

PreviewWindow::~PreviewWindow()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
    if (fixed_font_)
        DeleteObject(fixed_font_);
}

bool PreviewWindow::Create(int gauge_width)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA type = {};
    type.lpfnWndProc = WindowProcedure<PreviewWindow>;
    type.hInstance = instance;
    type.lpszClassName = ClassName;
    type.hCursor = LoadCursor(nullptr, IDC_ARROW);
    type.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    type.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
    RegisterClassA(&type);

    PanelHost& host = gauge_->host();
    const int view_width = gauge_width > 0 ? gauge_width : host.width();
    const int view_height = FitGauge(host.width(), host.height(), view_width, INT_MAX / 2).height;
    const std::string file = gauge_->path().substr(gauge_->path().find_last_of("\\/") + 1);
    const std::string title = file + ", gauge \"" + gauge_->gauge().name + "\" - gauge-host show";
    hwnd_ = CreateWindowExA(0, ClassName, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                            CW_USEDEFAULT, view_width + PanelWidth, view_height, nullptr, nullptr, instance, this);
    if (!hwnd_)
        return false;
    CreateControls();
    // The panel's height follows the number of sliders, known only now.
    ResizeClient(view_width + PanelWidth, std::max(view_height, PanelHeight()));
    SetText(IdTitle, file + ", gauge \"" + gauge_->gauge().name + "\"");
    ShowMessage("Click the gauge; hold to repeat. The gauge reloads when " + file + " changes.", false);
    ShowVariables();
    RECT client;
    GetClientRect(hwnd_, &client);
    Layout(client.right, client.bottom);
    ShowWindow(hwnd_, SW_SHOW);
    RestartClock();
    SetTimer(hwnd_, FrameTimer, TimerMilliseconds, nullptr);
    return true;
}

HWND PreviewWindow::AddControl(const char* type, const char* text, DWORD style, int id)
{
    HWND control = CreateWindowExA(0, type, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd_,
                                   HMENU(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, WPARAM(font_), FALSE);
    return control;
}

void PreviewWindow::CreateControls()
{
    font_ = HFONT(GetStockObject(DEFAULT_GUI_FONT));
    fixed_font_ = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New");
    view_.Create(hwnd_, gauge_, recorder_);
    AddControl("STATIC", "", SS_LEFT, IdTitle);
    AddControl("STATIC", "", SS_LEFT, IdMessage);
    AddControl("STATIC", "", SS_LEFT | SS_ENDELLIPSIS, IdPointer);
    sliders_.Create(hwnd_, font_, GetDlgItem(hwnd_, IdPointer), VariablesNamed(gauge_->gauge()));
    AddControl("STATIC", "Variables the gauge reads (click one to set it):", SS_LEFT, IdVariablesLabel);
    AddControl("LISTBOX", "", WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, IdVariables);
    AddControl("STATIC", "Set variable", SS_LEFT | SS_CENTERIMAGE, IdSetLabel);
    AddControl("EDIT", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, IdNumber);
    AddControl("STATIC", "to", SS_CENTER | SS_CENTERIMAGE, IdEquals);
    AddControl("EDIT", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, IdValue);
    AddControl("BUTTON", "&Set", WS_TABSTOP | BS_PUSHBUTTON, IdSet);
    AddControl("BUTTON", "&Night lighting", WS_TABSTOP | BS_AUTOCHECKBOX, IdNight);
    CheckDlgButton(hwnd_, IdNight, gauge_->host().view.light == Light::Night ? BST_CHECKED : BST_UNCHECKED);
    AddControl("STATIC", "Key events the gauge sent:", SS_LEFT, IdLogLabel);
    SendMessageA(AddControl("STATIC", EventLogHeading, SS_LEFT, IdLogHeading), WM_SETFONT, WPARAM(fixed_font_), FALSE);
    log_->Create(hwnd_, IdLog, fixed_font_);
}

// The panel's rows, top to bottom; the log takes what is left.
int PreviewWindow::PanelHeight() const
{
    const int sliders = sliders_.Height();
    return Margin + PanelLineHeight + PanelLineHeight * MessageLines + PanelLineHeight + Margin + (sliders ? sliders + Margin : 0) +
           PanelLineHeight + PanelLineHeight * VariableLines + Margin + RowHeight + Margin + RowHeight + Margin + PanelLineHeight +
           PanelLineHeight + MinLogHeight + Margin;
}

void PreviewWindow::ResizeClient(int width, int height)
{
    RECT frame = {0, 0, width, height};
    AdjustWindowRect(&frame, GetWindowLongA(hwnd_, GWL_STYLE), FALSE);
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// After a reload that named other variables: the window grows if the
// panel no longer fits, and is laid out again.
void PreviewWindow::FitPanel()
{
    RECT client;
    GetClientRect(hwnd_, &client);
    if (client.bottom < PanelHeight())
        ResizeClient(client.right, PanelHeight());
    else
        Layout(client.right, client.bottom);
}

void PreviewWindow::Layout(int width, int height)
{
    const int left = std::max(width - PanelWidth, MinGaugeWidth) + Margin;
    const int inner = PanelWidth - 2 * Margin;
    view_.Place(0, 0, left - Margin, height);
    int y = Margin;
    auto row = [&](int id, int row_height) {
        MoveWindow(GetDlgItem(hwnd_, id), left, y, inner, row_height, FALSE);
        y += row_height;
    };
    row(IdTitle, PanelLineHeight);
    row(IdMessage, PanelLineHeight * MessageLines);
    row(IdPointer, PanelLineHeight);
    y += Margin;
    if (sliders_.Height())
        y = sliders_.Place(left, y, inner) + Margin;
    row(IdVariablesLabel, PanelLineHeight);
    row(IdVariables, PanelLineHeight * VariableLines);
    y += Margin;
    const int label = 70, number = 70, word = 24, button = 50;
    const int value = inner - label - number - word - button - Margin;
    int x = left;
    for (auto [id, w] : {std::pair{IdSetLabel, label}, {IdNumber, number}, {IdEquals, word}, {IdValue, value}}) {
        MoveWindow(GetDlgItem(hwnd_, id), x, y, w, RowHeight, FALSE);
        x += w;
    }
    MoveWindow(GetDlgItem(hwnd_, IdSet), x + Margin, y, button, RowHeight, FALSE);
    y += RowHeight + Margin;
    row(IdNight, RowHeight);
    y += Margin;
    row(IdLogLabel, PanelLineHeight);
    row(IdLogHeading, PanelLineHeight);
    row(IdLog, std::max(height - Margin - y, MinLogHeight));
    // Moved controls copied their old pixels along and left them behind
    // where they overlapped: everything is drawn again, once.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool PreviewWindow::HandleMessage(MSG* message)
{
    if (message->message == WM_KEYDOWN && !IsEditBox(GetFocus())) {
        int step = 0;
        switch (message->wParam) {
        case VK_UP: step = KeyStepPositions; break;
        case VK_DOWN: step = -KeyStepPositions; break;
        case VK_PRIOR: step = PageStepPositions; break;
        case VK_NEXT: step = -PageStepPositions; break;
        }
        // With no slider the keys are left to move the focus.
        if (step && sliders_.Height()) {
            uint32_t number;
            double value;
            if (sliders_.Stepped(GetFocus(), gauge_->host().variables, step, &number, &value))
                SetVariable(number, value);
            return true;
        }
    }
    return IsDialogMessageA(hwnd_, message);
}

void PreviewWindow::RestartClock()
{
    QueryPerformanceFrequency(&clock_rate_);
    QueryPerformanceCounter(&clock_start_);
    frames_run_ = 0;
    next_poll_ = PollFrames;
}

void PreviewWindow::Tick()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const int64_t due = (now.QuadPart - clock_start_.QuadPart) * FramesPerSecond / clock_rate_.QuadPart;
    if (due == frames_run_)
        return;
    frames_run_ = std::max(frames_run_, due - MaxFramesBehind);
    PanelHost& host = gauge_->host();
    while (frames_run_ < due && !gauge_->stalled()) {
        ++frames_run_;
        host.RunFrame();
        if (gauge_->CheckStalled())
            ShowStall();
    }
    view_.Present();
    log_->Add(host.key_events());
    const std::string pointer = view_.PointerText();
    if (pointer != pointer_text_) {
        pointer_text_ = pointer;
        SetText(IdPointer, pointer);
    }
    if (frames_run_ >= next_poll_) {
        next_poll_ = frames_run_ + PollFrames;
        ReloadIfChanged();
    }
}

void PreviewWindow::ShowStall()
{
    ShowMessage(gauge_->stall_line() + ": the gauge is stopped; close the window to quit.", true);
    fprintf(stderr, "gauge-host: %s\n", gauge_->stall_line().c_str());
    fflush(stderr);
}

void PreviewWindow::ReloadIfChanged()
{
    std::string error;
    switch (gauge_->Poll(&error)) {
    case LiveGauge::Change::None:
        return;
    case LiveGauge::Change::Failed:
        ShowMessage("Reload failed at " + TimeOfDay() + ": " + error + ". Still running the last good module.", true);
        fprintf(stderr, "gauge-host: reload failed: %s; still running the last good module\n", error.c_str());
        fflush(stderr);
        return;
    case LiveGauge::Change::Reloaded:
        ShowMessage("Reloaded at " + TimeOfDay() + ": the gauge starts again from zero.", false);
        printf("gauge-host: reloaded %s: the gauge starts again from zero\n", gauge_->path().c_str());
        fflush(stdout);
        log_->StartOver("reloaded at " + TimeOfDay() + "; frames count from 0");
        if (recorder_)
            recorder_->Restart();
        if (sliders_.Create(hwnd_, font_, GetDlgItem(hwnd_, IdPointer), VariablesNamed(gauge_->gauge())))
            FitPanel();
        ShowVariables();
        RestartClock();
        return;
    }
}

void PreviewWindow::SetVariable(uint32_t number, double value)
{
    gauge_->host().variables.Set(number, value);
    if (recorder_)
        recorder_->SetVariable(gauge_->host().frames(), number, value);
    if (std::find(listed_.begin(), listed_.end(), number) == listed_.end())
        set_by_hand_.push_back(number);
    ShowVariables();
}

void PreviewWindow::ShowVariables()
{
    const HostVariables& variables = gauge_->host().variables;
    listed_ = VariablesNamed(gauge_->gauge());
    for (uint32_t number : set_by_hand_)
        if (std::find(listed_.begin(), listed_.end(), number) == listed_.end())
            listed_.push_back(number);
    HWND list = GetDlgItem(hwnd_, IdVariables);
    const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (uint32_t number : listed_) {
        const std::string line = std::to_string(number) + " = " + ShortNumber(variables.Get(number));
        SendMessageA(list, LB_ADDSTRING, 0, LPARAM(line.c_str()));
    }
    SendMessageA(list, LB_SETCURSEL, WPARAM(selected), 0);
    sliders_.Show(variables);
}

void PreviewWindow::FillBoxFromList()
{
    const LRESULT index = SendDlgItemMessageA(hwnd_, IdVariables, LB_GETCURSEL, 0, 0);
    if (index < 0 || size_t(index) >= listed_.size())
        return;
    const uint32_t number = listed_[index];
    SetText(IdNumber, std::to_string(number));
    SetText(IdValue, ShortNumber(gauge_->host().variables.Get(number)));
    SetFocus(GetDlgItem(hwnd_, IdValue));
    SendDlgItemMessageA(hwnd_, IdValue, EM_SETSEL, 0, -1);
}

void PreviewWindow::SetFromBox()
{
    const std::string number_text = WindowText(GetDlgItem(hwnd_, IdNumber));
    const std::string value_text = WindowText(GetDlgItem(hwnd_, IdValue));
    uint32_t number;
    double value;
    if (!ParseVariableNumber(number_text, &number))
        return ShowMessage("Set variable: \"" + number_text +
                               "\" is not a variable number (decimal or 0x hex, 0 to 0xFFFFFFFF).",
                           true);
    if (!ParseVariableValue(value_text, &value))
        return ShowMessage("Set variable: \"" + value_text + "\" is not a number.", true);
    SetVariable(number, value);
    ShowMessage("Variable " + std::to_string(number) + " reads " + ShortNumber(value) + " from the next frame on.",
                false);
}

void PreviewWindow::ShowMessage(const std::string& text, bool error)
{
    message_is_error_ = error;
    SetText(IdMessage, text);
}

void PreviewWindow::SetText(int id, const std::string& text)
{
    SetDlgItemTextA(hwnd_, id, text.c_str());
}

LRESULT PreviewWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_TIMER:
        if (wparam == FrameTimer)
            Tick();
        return 0;
    case WM_SIZE:
        Layout(LOWORD(lparam), HIWORD(lparam));
        return 0;
    case WM_GETMINMAXINFO: {
        RECT frame = {0, 0, MinGaugeWidth + PanelWidth, PanelHeight()};
        AdjustWindowRect(&frame, GetWindowLongA(hwnd_, GWL_STYLE), FALSE);
        auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
        limits->ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
        return 0;
    }
    case WM_HSCROLL: {
        uint32_t number;
        double value;
        if (sliders_.Moved(HWND(lparam), gauge_->host().variables, &number, &value))
            SetVariable(number, value);
        return 0;
    }
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case IDOK:  // Enter in the set box
        case IdSet:
            SetFromBox();
            return 0;
        case IdNight:
            gauge_->host().view.light = IsDlgButtonChecked(hwnd_, IdNight) ? Light::Night : Light::Day;
            return 0;
        case IdVariables:
            if (HIWORD(wparam) == LBN_SELCHANGE)
                FillBoxFromList();
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:
        if (HWND(lparam) == GetDlgItem(hwnd_, IdMessage) && message_is_error_) {
            HDC dc = HDC(wparam);
            SetTextColor(dc, ErrorColour);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return LRESULT(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    case WM_CLOSE:
        DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd_, FrameTimer);
        hwnd_ = nullptr;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd_, message, wparam, lparam);
}
