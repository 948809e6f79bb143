// The yardstick of the Windows window's start-up: a bare window of the same size, with a tab control of
// ten pages and the same controls (the inventory's kinds, rectangles and list entries) made of the same
// window classes, and nothing else: no form, no fonts of its own, no colours, pictures, tooltips or
// screen-reader names. It paints itself once and ends, as tarifmaster.exe does with
// TARIFMASTER_TEST_EXIT_WHEN_SHOWN set; the two are timed from outside, under Wine, program against
// program.
#include "engine/steps.h"
#include "form/inventory.h"
#include "form/names.h"

// clang-format off
#include <windows.h>
#include <commctrl.h> // needs windows.h before it
// clang-format on

#include <map>
#include <string>
#include <string_view>

namespace {

std::wstring wide(std::string_view utf8)
{
    std::wstring text(utf8.size(), L'\0');
    text.resize(static_cast<std::size_t>(MultiByteToWideChar(
        CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), static_cast<int>(text.size()))));
    return text;
}

int px(int twips)
{
    return MulDiv(twips, 96, 1440);
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

const wchar_t *classOf(form::Kind kind)
{
    switch (kind) {
    case form::Kind::TextBox:
        return WC_EDITW;
    case form::Kind::ListBox:
        return WC_LISTBOXW;
    case form::Kind::ComboBox:
        return WC_COMBOBOXW;
    case form::Kind::Option:
    case form::Kind::Check:
    case form::Kind::Command:
    case form::Kind::Picture:
    case form::Kind::Frame:
        return WC_BUTTONW;
    case form::Kind::Label:
    case form::Kind::Image:
    case form::Kind::Link:
        break;
    }
    return WC_STATICW;
}

DWORD styleOf(form::Kind kind)
{
    switch (kind) {
    case form::Kind::TextBox:
        return ES_AUTOHSCROLL | WS_BORDER;
    case form::Kind::ListBox:
        return LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER;
    case form::Kind::ComboBox:
        return CBS_DROPDOWN | WS_VSCROLL;
    case form::Kind::Option:
        return BS_AUTORADIOBUTTON;
    case form::Kind::Check:
        return BS_AUTOCHECKBOX;
    case form::Kind::Frame:
        return BS_GROUPBOX;
    default:
        return 0;
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BareWindow";
    RegisterClassExW(&windowClass);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame{0, 0, px(form::kClientWidthTwips), px(form::kClientHeightTwips)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    HWND window = CreateWindowExW(0,
        L"BareWindow",
        L"Bare",
        style,
        CW_USEDEFAULT,
        CW_USEDEFAULT,
        frame.right - frame.left,
        frame.bottom - frame.top,
        nullptr,
        nullptr,
        instance,
        nullptr);
    HWND tabs = CreateWindowExW(0,
        WC_TABCONTROLW,
        L"",
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
        0,
        0,
        px(form::kTabControlTwips[2]),
        px(form::kTabControlTwips[3]),
        window,
        nullptr,
        instance,
        nullptr);
    HWND pages[form::kPageCount] = {};
    for (int page = 0; page < form::kPageCount; ++page) {
        std::wstring caption = std::to_wstring(page + 1);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        TabCtrl_InsertItem(tabs, page, &item);
        pages[page] = CreateWindowExW(WS_EX_CONTROLPARENT,
            L"BareWindow",
            L"",
            WS_CHILD | (page == 0 ? WS_VISIBLE : 0),
            0,
            px(360),
            px(form::kTabControlTwips[2]),
            px(form::kTabControlTwips[3] - 360),
            window,
            nullptr,
            instance,
            nullptr);
    }

    std::map<std::string_view, HWND> made;
    for (const form::ControlRow &row : form::controlRows()) {
        HWND parent = window;
        if (const auto page = form::tabPage(row.container))
            parent = pages[*page];
        else if (made.count(row.container))
            parent = made[row.container];
        HWND control = CreateWindowExW(0,
            classOf(row.kind),
            wide(row.caption).c_str(),
            WS_CHILD | ((row.looks & form::look::kHidden) ? 0 : WS_VISIBLE) | styleOf(row.kind),
            px(row.left),
            px(row.top),
            px(row.width),
            px(row.height),
            parent,
            nullptr,
            instance,
            nullptr);
        made[row.name] = control;
        if (const auto choice = form::stepChoice(row.name); choice && choice->filledAtStart)
            for (const std::string_view entry : engine::entryTexts(choice->entries))
                SendMessageW(control,
                    row.kind == form::Kind::ListBox ? LB_ADDSTRING : CB_ADDSTRING,
                    0,
                    reinterpret_cast<LPARAM>(wide(entry).c_str()));
    }

    ShowWindow(window, show);
    UpdateWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    DestroyWindow(window);
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
