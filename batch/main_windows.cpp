// tarifmaster-batch.exe: the batch mode as a program of its own on Windows. Its arguments arrive in
// UTF-16 (wmain, linked with -municode) and go on in UTF-8, as the batch reads every text, so that a
// list named in any alphabet is found. Standard output and standard error are binary: a result and the
// messages are the same bytes as on Linux, no CR put before each LF. A console shows UTF-8: the
// program's texts go to it in UTF-16 (terminal_windows.cpp), and a UTF-8 result as it is.
#include "batch/batch.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>
#include <windows.h>

namespace {

std::string utf8Of(const wchar_t *wide)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
    text.pop_back(); // the terminating zero
    return text;
}

// The console as the program found it, put back when the program ends: its output code page, and the
// mode of standard error's console, where virtual terminal processing is turned on for the progress
// line when the console has it.
class ConsoleSettings {
public:
    ConsoleSettings()
        : m_codePage(GetConsoleOutputCP())
        , m_error(GetStdHandle(STD_ERROR_HANDLE))
    {
        if (m_codePage != 0)
            SetConsoleOutputCP(CP_UTF8);
        if (GetConsoleMode(m_error, &m_errorMode))
            m_restoreMode = SetConsoleMode(m_error, m_errorMode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
    }
    ~ConsoleSettings()
    {
        std::fflush(stdout);
        std::fflush(stderr);
        if (m_restoreMode)
            SetConsoleMode(m_error, m_errorMode);
        if (m_codePage != 0)
            SetConsoleOutputCP(m_codePage);
    }
    ConsoleSettings(const ConsoleSettings &) = delete;
    ConsoleSettings &operator=(const ConsoleSettings &) = delete;

private:
    UINT m_codePage; // 0 without a console
    HANDLE m_error;
    DWORD m_errorMode = 0;
    bool m_restoreMode = false;
};

} // namespace

int wmain(int argc, wchar_t **argv)
{
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.push_back(utf8Of(argv[i]));
    std::vector<char *> pointers;
    for (std::string &argument : arguments)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);

    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    const ConsoleSettings console;
    return batch::runBatchProgram(argc, pointers.data());
}
