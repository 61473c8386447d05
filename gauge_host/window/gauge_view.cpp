#include "gauge_host/window/gauge_view.h"

#include <commctrl.h>
#include <windowsx.h>

#include "gauge_host/window/arrow_cursors.h"
#include "gauge_host/core/compositor.h"

namespace {

const char ClassName[] = "GaugeHostView";

}  // namespace

bool GaugeView::Create(HWND parent, LiveGauge* gauge, SessionRecorder* recorder)
{
    gauge_ = gauge;
    recorder_ = recorder;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA type = {};
    type.lpfnWndProc = WindowProcedure<GaugeView>;
    type.hInstance = instance;
    type.lpszClassName = ClassName;
    type.hCursor = nullptr;  // set by WM_SETCURSOR from the area under the pointer
    RegisterClassA(&type);
    hwnd_ = CreateWindowExA(0, ClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr, instance, this);
    if (!hwnd_)
        return false;

    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance,
                               nullptr);
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;  // the size every version of the control takes
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = UINT_PTR(hwnd_);
    tool.lpszText = const_cast<char*>("");
    // Always active: a tip with no text does not show, and one activated
    // only on the first move over the gauge would miss that move.
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, LPARAM(&tool));
    return true;
}

void GaugeView::Place(int x, int y, int width, int height)
{
    MoveWindow(hwnd_, x, y, width, height, TRUE);
    Refit();
}

void GaugeView::Refit()
{
    PanelHost& host = gauge_->host();
    RECT client;
    GetClientRect(hwnd_, &client);
    fit_ = FitGauge(host.width(), host.height(), client.right, client.bottom);
    host.view.scale = fit_.scale;  // the next frame is drawn at the view's size
}

void GaugeView::Present()
{
    // A reloaded gauge may be another size.
    Refit();
    PanelHost& host = gauge_->host();
    if (pointer_inside_)
        hit_ = host.HitAt(face_x_, face_y_);
    // Only a changed frame is composed and painted again: an idle window
    // costs nothing but the gauge's own frames.
    if (!host.has_frame() || host.frame_version() == shown_version_)
        return;
    shown_version_ = host.frame_version();
    const Frame& frame = host.frame();
    frame_width_ = frame.width;
    frame_height_ = frame.height;
    pixels_.resize(size_t(frame.width) * frame.height);
    for (int y = 0; y < frame.height; ++y) {
        const uint8_t* rgb = frame.Row(y);
        uint32_t* out = pixels_.data() + size_t(y) * frame.width;
        for (int x = 0; x < frame.width; ++x, rgb += 3)
            out[x] = uint32_t(rgb[0]) << 16 | uint32_t(rgb[1]) << 8 | rgb[2];
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void GaugeView::Paint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    RECT client;
    GetClientRect(hwnd_, &client);
    if (!pixels_.empty()) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = frame_width_;
        info.bmiHeader.biHeight = -frame_height_;  // top row first, as the frame holds it
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(dc, 0, 0, frame_width_, frame_height_, 0, 0, 0, frame_height_, pixels_.data(), &info,
                          DIB_RGB_COLORS);
        ExcludeClipRect(dc, 0, 0, frame_width_, frame_height_);
    }
    HBRUSH panel = CreateSolidBrush(RGB(PanelColour.r, PanelColour.g, PanelColour.b));
    FillRect(dc, &client, panel);
    DeleteObject(panel);
    EndPaint(hwnd_, &paint);
}

void GaugeView::PointerAt(int x, int y)
{
    PanelHost& host = gauge_->host();
    pointer_inside_ = FacePixelAt(fit_, host.width(), host.height(), x, y, &face_x_, &face_y_);
    hit_ = pointer_inside_ ? host.HitAt(face_x_, face_y_) : Hit{};
    ShowTooltip(hit_.tooltip);
}

void GaugeView::ShowTooltip(const std::string& text)
{
    if (text == tooltip_text_)
        return;
    tooltip_text_ = text;
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = hwnd_;
    tool.uId = UINT_PTR(hwnd_);
    tool.lpszText = const_cast<char*>(tooltip_text_.c_str());
    SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, LPARAM(&tool));
    if (text.empty())
        SendMessageA(tooltip_, TTM_POP, 0, 0);
}

void GaugeView::Press(MouseButton button)
{
    SetCapture(hwnd_);
    if (!pointer_inside_)
        return;
    PanelHost& host = gauge_->host();
    host.Press(face_x_, face_y_, button);
    if (recorder_)
        recorder_->Press(host.frames(), face_x_, face_y_, button);
}

std::string GaugeView::PointerText() const
{
    if (!pointer_inside_)
        return "Pointer: off the gauge";
    std::string text = "Pointer: face (" + std::to_string(face_x_) + ", " + std::to_string(face_y_) + "), ";
    if (hit_.child < 0)
        return text + "no mouse area";
    return text + "area " + std::to_string(hit_.child + 1) + ", cursor " + CursorName(hit_.cursor);
}

LRESULT GaugeView::Handle(UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the paint covers every pixel
    case WM_MOUSEMOVE: {
        PointerAt(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hwnd_, 0};
        TrackMouseEvent(&track);
        return 0;
    }
    case WM_MOUSELEAVE:
        pointer_inside_ = false;
        hit_ = {};
        ShowTooltip("");
        return 0;
    case WM_SETCURSOR: {
        if (LOWORD(lparam) != HTCLIENT)
            break;
        // Sent before the move's WM_MOUSEMOVE: the area is looked up here,
        // or the cursor would lag one move behind the pointer.
        POINT at;
        GetCursorPos(&at);
        ScreenToClient(hwnd_, &at);
        PointerAt(at.x, at.y);
        SetCursor(AreaCursor(hit_.cursor));
        return TRUE;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        // The main window keeps the keyboard: its keys move the slider.
        SetFocus(GetParent(hwnd_));
        PointerAt(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
        Press(message == WM_LBUTTONDOWN ? MouseButton::Left : MouseButton::Right);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        ReleaseCapture();  // WM_CAPTURECHANGED releases the host's button
        return 0;
    case WM_CAPTURECHANGED:
        gauge_->host().Release();
        if (recorder_)
            recorder_->Release(gauge_->host().frames());
        return 0;
    }
    return DefWindowProcA(hwnd_, message, wparam, lparam);
}
