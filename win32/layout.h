// Placing the Windows window at a screen's dots per inch: the frame around a client area of the
// inventory's size, the tab control and its pages, and every control at its twips converted.
#pragma once

#include "win32/builder.h"
#include "win32/placement.h"

#include <shellapi.h>
#include <string>
#include <windows.h>

namespace win32 {

inline constexpr DWORD kWindowStyle
    = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// Moves and sizes a window, leaving its place in the z-order and the active window alone.
void place(HWND window, const PixelRect &rect);
void place(HWND window, const RECT &rect);

// A window's outer size in style for a client area of the given twips at dpi; without them, the
// main window's, whose client area is the inventory's.
SIZE frameSize(int widthTwips, int heightTwips, DWORD style, UINT dpi);
SIZE frameSize(UINT dpi);

// The first file of a drop on a window, the drop then let go; empty when there is none.
std::wstring firstDroppedFile(HDROP drop);
// Sizes the window to frameSize and centres it on its screen's work area.
void fitFrame(HWND window, UINT dpi);

// Places the tab control and its pages; returns where the pages lie in the tab control's coordinates,
// which the inventory gives the pages' controls in.
PixelPoint placePages(const WindowParts &parts, UINT dpi);

// Places a control at its row's twips (and its current height) at dpi.
void placeControl(const Control &control, UINT dpi, PixelPoint pageOrigin);

} // namespace win32
