#include "win32/taskbar.h"

#include <shobjidl.h>

namespace win32 {

TaskbarProgress::TaskbarProgress() = default;
TaskbarProgress::~TaskbarProgress() = default;

UINT TaskbarProgress::buttonCreatedMessage()
{
    static const UINT message = RegisterWindowMessageW(L"TaskbarButtonCreated");
    return message;
}

bool TaskbarProgress::connect(HWND window)
{
    m_window = window;
    if (FAILED(CoCreateInstance(
            CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3, m_taskbar.putVoid()))
        || FAILED(m_taskbar->HrInit()))
        m_taskbar.reset();
    return static_cast<bool>(m_taskbar);
}

void TaskbarProgress::show(std::optional<unsigned> percent)
{
    if (!m_taskbar)
        return;
    if (!percent) {
        m_taskbar->SetProgressState(m_window, TBPF_NOPROGRESS);
        return;
    }
    m_taskbar->SetProgressState(m_window, TBPF_NORMAL);
    m_taskbar->SetProgressValue(m_window, *percent, 100);
}

} // namespace win32
