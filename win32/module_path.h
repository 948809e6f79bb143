// The path of the running program, as Windows names it: used by the window to find its files and by
// the batch's console program to find the window program beside it. No std::filesystem here: the
// console program stays small without it.
#pragma once

#include <string>
#include <windows.h>

namespace win32 {

inline std::wstring modulePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace win32
