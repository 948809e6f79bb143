// The start of tarifmaster.exe and its message loop: the window built, shown and run until it closes,
// or, when Windows refuses any part of it, one message box and a non-zero exit status rather than a
// window with controls missing.
#pragma once

#include "win32/test_seams.h"

#include <windows.h>

namespace win32 {

// Exit statuses of the window program.
inline constexpr int kClosed = 0;
inline constexpr int kNotBuilt = 3;

int runWindow(HINSTANCE instance, int show, TestSeams seams);

} // namespace win32
