// The window procedure of a window class that is a C++ class: the object given to CreateWindowExW
// (lpCreateParams) is kept in the window's user data and handed each message; created() and
// destroyed() tell it the window's first and last moments.
#pragma once

#include <windows.h>

namespace win32 {

// Window has handleMessage(UINT, WPARAM, LPARAM), created(HWND) and destroyed().
template<typename Window>
LRESULT CALLBACK windowProcOf(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *self = reinterpret_cast<Window *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<Window *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->created(hwnd);
    }
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const LRESULT result = self->handleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->destroyed();
    }
    return result;
}

} // namespace win32
