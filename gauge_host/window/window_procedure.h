// window_procedure.h: the window procedure of a class whose object rides in
// its window's user data, put there from the window's creation parameter.
//
// Usage:
//   class View {
//       friend LRESULT CALLBACK WindowProcedure<View>(HWND, UINT, WPARAM, LPARAM);
//       LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
//       HWND hwnd_ = nullptr;  // set once CreateWindowExA returns
//   };
//   type.lpfnWndProc = WindowProcedure<View>;
//   hwnd_ = CreateWindowExA(..., this);
#pragma once

#include <windows.h>

template <class Window>
LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, LONG_PTR(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams));
    auto* window = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    // Messages sent while the window is being created wait for hwnd_.
    if (!window || !window->hwnd_)
        return DefWindowProcA(hwnd, message, wparam, lparam);
    return window->Handle(message, wparam, lparam);
}
