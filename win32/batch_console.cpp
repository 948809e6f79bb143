// tarifmaster-batch.exe: the batch mode in a console. A console program of its own, so that cmd and
// PowerShell wait for it and hand it their streams, it starts tarifmaster.exe beside it as the batch
// program (batch_mode.h) with the same arguments, standard streams and console, waits for it and ends
// with its exit status. Ctrl+C reaches both; this one waits for the batch to end.
//
// Started from Explorer without arguments (its console is its own: nobody typed a command into it), it
// opens the fleet window instead, and its console goes at once.
#include "win32/batch_mode.h"
#include "win32/module_path.h"

#include <string>
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

namespace {

std::wstring programBeside()
{
    const std::wstring self = win32::modulePath();
    return self.substr(0, self.find_last_of(L'\\') + 1) + L"tarifmaster.exe";
}

// An argument as CommandLineToArgvW reads it back: quoted, with the backslashes before a quote doubled.
std::wstring quoted(const std::wstring &argument)
{
    std::wstring text = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        text.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        text += c;
    }
    text.append(2 * backslashes, L'\\');
    return text + L"\"";
}

// A standard stream as the batch gets it: the same file, pipe or console, inheritable.
HANDLE inheritable(DWORD stream)
{
    HANDLE own = GetStdHandle(stream);
    HANDLE copy = nullptr;
    if (own == nullptr || own == INVALID_HANDLE_VALUE
        || !DuplicateHandle(
            GetCurrentProcess(), own, GetCurrentProcess(), &copy, 0, TRUE, DUPLICATE_SAME_ACCESS))
        return own;
    return copy;
}

bool startedFromExplorer(int argc)
{
    DWORD processes[2] = {};
    return argc == 1 && GetConsoleProcessList(processes, 2) == 1;
}

// A line on standard error: in UTF-16 to a console, as UTF-8 bytes to a file or a pipe, as the batch
// writes its own.
void sayOnError(const std::wstring &line)
{
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    const int length = static_cast<int>(line.size());
    DWORD written = 0;
    if (WriteConsoleW(error, line.c_str(), static_cast<DWORD>(length), &written, nullptr))
        return;
    std::string bytes(static_cast<std::size_t>(WideCharToMultiByte(
                          CP_UTF8, 0, line.c_str(), length, nullptr, 0, nullptr, nullptr)),
        '\0');
    WideCharToMultiByte(
        CP_UTF8, 0, line.c_str(), length, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
    WriteFile(error, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

BOOL WINAPI waitForTheBatch(DWORD)
{
    return TRUE; // the batch has the same console and ends itself
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    const std::wstring program = programBeside();
    if (startedFromExplorer(argc)) {
        const auto opened = reinterpret_cast<INT_PTR>(
            ShellExecuteW(nullptr, L"open", program.c_str(), L"--fleet", nullptr, SW_SHOWNORMAL));
        return opened > 32 ? 0 : 2;
    }
    std::wstring command = quoted(program) + L" " + win32::kBatchProgramSwitch;
    for (int i = 1; i < argc; ++i)
        command += L" " + quoted(argv[i]);
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = inheritable(STD_INPUT_HANDLE);
    start.hStdOutput = inheritable(STD_OUTPUT_HANDLE);
    start.hStdError = inheritable(STD_ERROR_HANDLE);
    PROCESS_INFORMATION batch{};
    SetConsoleCtrlHandler(waitForTheBatch, TRUE);
    if (!CreateProcessW(
            program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &batch)) {
        sayOnError(L"tarifmaster-batch: не удалось запустить " + program + L"\n");
        return 2;
    }
    WaitForSingleObject(batch.hProcess, INFINITE);
    DWORD status = 2;
    GetExitCodeProcess(batch.hProcess, &status);
    CloseHandle(batch.hThread);
    CloseHandle(batch.hProcess);
    return static_cast<int>(status);
}
