#include "win32/batch_mode.h"

#include "batch/batch.h"
#include "win32/text.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace win32 {

namespace {

// The console as the program found it, put back when the batch ends: its output code page, and the
// mode of standard error's console, where virtual terminal processing is turned on for the progress
// line when the console has it. The console is the one of the program that started this one: the
// console program tarifmaster-batch.exe, or a console window running tarifmaster.exe --batch.
class ConsoleSettings {
public:
    ConsoleSettings()
        : m_attached(AttachConsole(ATTACH_PARENT_PROCESS) != 0)
        , m_codePage(GetConsoleOutputCP())
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
        if (m_attached)
            FreeConsole();
    }
    ConsoleSettings(const ConsoleSettings &) = delete;
    ConsoleSettings &operator=(const ConsoleSettings &) = delete;

private:
    bool m_attached;
    UINT m_codePage; // 0 without a console
    HANDLE m_error;
    DWORD m_errorMode = 0;
    bool m_restoreMode = false;
};

} // namespace

std::optional<int> runBatchMode(const std::vector<std::wstring> &arguments)
{
    const bool batchProgram = arguments.size() > 1 && arguments[1] == kBatchProgramSwitch;
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < arguments.size(); ++i)
        if (!(batchProgram && i == 1))
            texts.push_back(utf8(arguments[i]));
    std::vector<char *> pointers;
    for (std::string &text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    const int count = static_cast<int>(texts.size());
    if (!batchProgram && !batch::asksForBatch(count, pointers.data()))
        return std::nullopt;
    // A result and the messages are the same bytes as on Linux: no CR put before each LF.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    const ConsoleSettings console;
    return batchProgram ? batch::runBatchProgram(count, pointers.data())
                        : *batch::runFromCommandLine(count, pointers.data());
}

} // namespace win32
