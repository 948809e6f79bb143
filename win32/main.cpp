// tarifmaster.exe: the window of ТарифМастер on Windows, or its fleet window (--fleet, or a list given),
// or the batch mode for tarifmaster-batch.exe (batch_mode.h).
#include "win32/application.h"
#include "win32/batch_mode.h"
#include "win32/text.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <string>
#include <vector>
#include <windows.h>

namespace {

// The command line as Windows splits it, the program's name first.
std::vector<std::wstring> commandLine()
{
    int count = 0;
    LPWSTR *split = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> arguments(split, split + (split ? count : 0));
    LocalFree(split);
    return arguments;
}

// What the arguments after the program's name ask of the windows.
form::WindowRequest requestOf(const std::vector<std::wstring> &arguments)
{
    std::vector<std::string> texts;
    for (std::size_t i = 1; i < arguments.size(); ++i)
        texts.push_back(win32::utf8(arguments[i]));
    const std::vector<std::string_view> views(texts.begin(), texts.end());
    return form::windowRequest(views);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    const std::vector<std::wstring> arguments = commandLine();
    // The batch runs before anything of the windows: tarifmaster-batch.exe starts it this way.
    if (const std::optional<int> status = win32::runBatchMode(arguments))
        return *status;
    // The imaging component, the shell, its dialogs and the accessibility annotations are COM's.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{sizeof controls,
        ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    const int status
        = win32::runWindows(instance, show, requestOf(arguments), win32::TestSeams::fromEnvironment());
    if (SUCCEEDED(com))
        CoUninitialize();
    return status;
}
