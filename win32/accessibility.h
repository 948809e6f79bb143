// What a Windows screen reader says for the window's controls: the spoken name of each control (the
// caption of the label that names it, or a text of its own) and of each tab, given to the system's
// accessibility layer as annotations of the controls' own accessible objects.
#pragma once

#include "win32/builder.h"
#include "win32/control_table.h"
#include "win32/handles.h"

#include <string_view>
#include <windows.h>

struct IAccPropServices;

namespace win32 {

class ScreenReaderNames {
public:
    ScreenReaderNames();
    ~ScreenReaderNames();
    ScreenReaderNames(const ScreenReaderNames &) = delete;
    ScreenReaderNames &operator=(const ScreenReaderNames &) = delete;

    // Names every control and tab; the first failure's HRESULT, or S_OK. Where the accessibility layer
    // takes no annotations, the controls keep the names Windows gives them.
    HRESULT annotate(const ControlTable &controls, HWND tabs);
    // Names one window, or one of its children (a tab).
    HRESULT name(HWND hwnd, std::string_view spoken, DWORD child = 0);

private:
    ComPtr<IAccPropServices> m_services; // the annotations live as long as the services object
};

} // namespace win32
