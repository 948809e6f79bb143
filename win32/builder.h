// The builder of the Windows window: the tab control, its ten pages and every control of the inventory
// as a user32 or comctl32 window, in the order Tab visits them, each combo box with the entries of the
// window's design, and the tooltips. Sizes and places are the layout's (layout.h).
#pragma once

#include "win32/control_table.h"

#include <array>
#include <string>
#include <string_view>
#include <windows.h>

namespace win32 {

// The windows the builder makes beside the inventory's controls.
struct WindowParts {
    HWND tabs = nullptr;
    std::array<HWND, form::kPageCount> pages{};
    HWND tooltips = nullptr;
};

// Builds every control into window; the name of the first control Windows refused, or an empty text
// when all of them stand. A refused control leaves the window unusable: the caller ends the start-up.
// refuse names a control to take as refused (the tests' way to a refusal); empty in use.
std::string buildControls(HWND window,
    HINSTANCE instance,
    ControlTable &controls,
    WindowParts &parts,
    std::string_view refuse = {});

} // namespace win32
