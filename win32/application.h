// The start of tarifmaster.exe and its message loop: the main window, or the fleet window as the
// command line asks (form/fleet_start.h), each built, shown and run until the last window closes; a
// list dropped on the main window opens the fleet window with it. When Windows refuses any part of a
// window: one message box and a non-zero exit status rather than a window with controls missing.
#pragma once

#include "form/fleet_start.h"
#include "win32/test_seams.h"

#include <windows.h>

namespace win32 {

// Exit statuses of the window program.
inline constexpr int kClosed = 0;
inline constexpr int kNotBuilt = 3;

int runWindows(HINSTANCE instance, int show, const form::WindowRequest &request, TestSeams seams);

} // namespace win32
