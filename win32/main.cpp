// tarifmaster.exe: the window of ТарифМастер on Windows.
#include "win32/application.h"

#include <commctrl.h>
#include <objbase.h>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    // The imaging component, the shell and the accessibility annotations are COM's.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const int status = win32::runWindow(instance, show, win32::TestSeams::fromEnvironment());
    if (SUCCEEDED(com))
        CoUninitialize();
    return status;
}
