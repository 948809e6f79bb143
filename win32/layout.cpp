#include "win32/layout.h"

#include <algorithm>
#include <commctrl.h>

namespace win32 {

using form::Kind;

SIZE frameSize(int widthTwips, int heightTwips, DWORD style, UINT dpi)
{
    RECT frame{0, 0, pixels(widthTwips, dpi), pixels(heightTwips, dpi)};
    AdjustWindowRectExForDpi(&frame, style, FALSE, 0, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

SIZE frameSize(UINT dpi)
{
    return frameSize(form::kClientWidthTwips, form::kClientHeightTwips, kWindowStyle, dpi);
}

std::wstring firstDroppedFile(HDROP drop)
{
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring file(length + 1, L'\0');
    file.resize(DragQueryFileW(drop, 0, file.data(), length + 1));
    DragFinish(drop);
    return file;
}

void place(HWND window, const PixelRect &rect)
{
    SetWindowPos(
        window, nullptr, rect.left, rect.top, rect.width, rect.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void place(HWND window, const RECT &rect)
{
    place(window, PixelRect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top});
}

void fitFrame(HWND window, UINT dpi)
{
    const SIZE size = frameSize(dpi);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT &work = monitor.rcWork;
    place(window,
        PixelRect{work.left + std::max(0L, (work.right - work.left - size.cx) / 2),
            work.top + std::max(0L, (work.bottom - work.top - size.cy) / 2),
            size.cx,
            size.cy});
}

PixelPoint placePages(const WindowParts &parts, UINT dpi)
{
    const int *tabs = form::kTabControlTwips;
    RECT area{pixels(tabs[0], dpi),
        pixels(tabs[1], dpi),
        pixels(tabs[0] + tabs[2], dpi),
        pixels(tabs[1] + tabs[3], dpi)};
    place(parts.tabs, area);
    TabCtrl_SetItemSize(
        parts.tabs, tabWidth(area.right - area.left, form::kPageCount), pixels(kTabRowTwips, dpi));
    TabCtrl_AdjustRect(parts.tabs, FALSE, &area);
    // The bottom strip lies over the tab control's lower edge; the pages end where it begins.
    area.bottom = std::min<LONG>(area.bottom, pixels(form::findControl("Frame1")->top, dpi));
    for (HWND page : parts.pages)
        place(page, area);
    return {area.left - pixels(tabs[0], dpi), area.top - pixels(tabs[1], dpi)};
}

namespace {

// The field is as high as the inventory says; the height given to the window is the field's and the
// dropped list's together.
int comboBoxHeight(HWND combo, int field, int rowHeight)
{
    SendMessageW(combo, CB_SETITEMHEIGHT, 0, rowHeight);
    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field - 6);
    RECT shown;
    GetWindowRect(combo, &shown);
    if (shown.bottom - shown.top != field && shown.bottom > shown.top)
        SendMessageW(
            combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field - 6 + field - (shown.bottom - shown.top));
    return dropDownHeight(field, static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)), rowHeight);
}

} // namespace

void placeControl(const Control &control, UINT dpi, PixelPoint pageOrigin)
{
    const form::ControlRow &row = *control.row;
    const PixelPoint origin = form::tabPage(row.container) ? pageOrigin : PixelPoint{};
    PixelRect rect = controlRect(row, control.heightTwips, dpi, origin);
    const int rowHeight = pixels(form::kListRowTwips, dpi);
    if (row.kind == Kind::ListBox)
        SendMessageW(control.hwnd, LB_SETITEMHEIGHT, 0, rowHeight);
    if (row.kind == Kind::ComboBox)
        rect.height = comboBoxHeight(control.hwnd, rect.height, rowHeight);
    place(control.hwnd, rect);
}

} // namespace win32
