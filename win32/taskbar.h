// The fleet window's progress on its taskbar button (ITaskbarList3), where the shell has one: asked for
// once the shell says the button exists ("TaskbarButtonCreated"), and quietly absent otherwise.
#pragma once

#include "win32/handles.h"

#include <optional>
#include <windows.h>

struct ITaskbarList3;

namespace win32 {

class TaskbarProgress {
public:
    TaskbarProgress();
    ~TaskbarProgress();
    TaskbarProgress(const TaskbarProgress &) = delete;
    TaskbarProgress &operator=(const TaskbarProgress &) = delete;

    // The message the shell sends once the window's button exists.
    static UINT buttonCreatedMessage();
    // The shell's taskbar, asked for when the button exists; false where there is none.
    bool connect(HWND window);
    // The progress at percent, or none.
    void show(std::optional<unsigned> percent);

private:
    HWND m_window = nullptr;
    ComPtr<ITaskbarList3> m_taskbar;
};

} // namespace win32
