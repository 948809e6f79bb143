// tarifmaster.exe: the window of ТарифМастер on Windows.
#include "win32/main_window.h"

#include <commctrl.h>
#include <objbase.h>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    // The imaging component, the shell and the accessibility annotations are COM's.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    int status = 1;
    {
        win32::MainWindow window(instance, win32::TestSeams::fromEnvironment());
        if (window.create(show))
            status = window.run();
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return status;
}
