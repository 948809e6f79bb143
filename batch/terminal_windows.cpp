// The program's texts on Windows. A console is written in UTF-16 (WriteConsoleW), which every console
// shows right whatever its code page; a file or a pipe gets the UTF-8 bytes unchanged, the same bytes
// as on Linux (win32/batch_mode.cpp makes both streams binary).
#include "batch/terminal.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <windows.h>

namespace batch {

namespace {

// The console behind a standard stream, or nothing when the stream goes to a file or a pipe (or to
// NUL, which the C library's _isatty takes for a terminal).
HANDLE consoleOf(Stream stream)
{
    const HANDLE handle = GetStdHandle(stream == Stream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle
                                                                                                : nullptr;
}

std::wstring wideOf(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(
        static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

} // namespace

void writeText(Stream stream, std::string_view utf8)
{
    std::FILE *file = stream == Stream::Output ? stdout : stderr;
    const HANDLE console = consoleOf(stream);
    if (console == nullptr) {
        std::fwrite(utf8.data(), 1, utf8.size(), file);
        if (stream == Stream::Error)
            std::fflush(file);
        return;
    }
    std::fflush(file); // what the C library holds comes first
    const std::wstring wide = wideOf(utf8);
    for (std::size_t done = 0; done < wide.size();) {
        DWORD written = 0;
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 8192));
        if (!WriteConsoleW(console, wide.data() + done, piece, &written, nullptr) || written == 0)
            return;
        done += written;
    }
}

bool rewritesLines()
{
    // The progress line clears the rest of the line with "ESC[K", which a console reads only with
    // virtual terminal processing (Windows 10 and later; win32/batch_mode.cpp turns it on). Elsewhere, and
    // in a file, no progress line is shown.
    const HANDLE console = consoleOf(Stream::Error);
    DWORD mode = 0;
    return console != nullptr && GetConsoleMode(console, &mode)
        && (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

} // namespace batch
