// The Windows fleet window's controls and what they show, shared by the window (fleet_window.h), which
// makes, places and routes them, and the binding of the fleet form to them (fleet_controls.h).
#pragma once

#include "batch/batch.h"
#include "win32/fleet_placement.h"
#include "win32/look.h"
#include "win32/taskbar.h"

#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>

namespace win32 {

struct FleetParts {
    std::atomic<HWND> window = nullptr; // read by the run's thread when it posts to the window
    HWND status = nullptr;
    HWND progress = nullptr;
    std::array<HWND, kSummaryLines> captions{};
    std::array<HWND, kSummaryLines> values{};
    HWND list = nullptr;
    HWND more = nullptr;
    std::array<HWND, kFleetButtons> buttons{};

    std::vector<batch::RejectedRow> rows; // what the list shows, held by the window
    std::wstring cell;                    // the list's text handed out last
    std::unique_ptr<FontSet> fonts;
    UINT dpi = 96;
    TaskbarProgress taskbar;
    std::thread run; // the thread of the last run, joined when the window goes
};

// The message that carries a task from a run's thread onto the window's (lParam: a heap std::function),
// and the one that opens the list's dialog once the window shows.
inline constexpr UINT kRunTaskMessage = WM_APP + 1;
inline constexpr UINT kAskForListMessage = WM_APP + 2;

} // namespace win32
