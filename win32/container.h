// Pages and frames: windows that hold controls. They paint their ground with the brush the main window
// answers for them (WM_CTLCOLORSTATIC, as for a label), a frame also its etched border, and hand what
// their controls tell them to the main window, which has the one router.
#pragma once

#include <windows.h>

namespace win32 {

inline constexpr wchar_t kContainerClass[] = L"TarifMasterContainer";

// Registers the class of pages and frames; false when Windows refused it.
bool registerContainerClass(HINSTANCE instance);

// What CreateWindowExW takes as its last argument to make a frame rather than a page.
void *frameCreation();

} // namespace win32
