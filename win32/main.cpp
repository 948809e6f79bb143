// tarifmaster.exe: the window of ТарифМастер on Windows, or its fleet window (--fleet, or a list given).
#include "win32/application.h"
#include "win32/text.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <string>
#include <vector>
#include <windows.h>

namespace {

// The arguments after the program's name, in UTF-8, as Windows splits its command line.
form::WindowRequest requestOfCommandLine()
{
    int count = 0;
    LPWSTR *arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> texts;
    for (int i = 1; arguments && i < count; ++i)
        texts.push_back(win32::utf8(arguments[i]));
    LocalFree(arguments);
    const std::vector<std::string_view> views(texts.begin(), texts.end());
    return form::windowRequest(views);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    // The imaging component, the shell, its dialogs and the accessibility annotations are COM's.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{sizeof controls,
        ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    const int status
        = win32::runWindows(instance, show, requestOfCommandLine(), win32::TestSeams::fromEnvironment());
    if (SUCCEEDED(com))
        CoUninitialize();
    return status;
}
