// hold_file.exe FILE SIGNAL: holds FILE open as a word processor holds the document it shows, letting
// others read it but not write, rename or remove it. It makes SIGNAL.held once the file is held, and
// lets go when SIGNAL.release appears (or after a minute). A program of the Wine tests only.
#include <string>
#include <windows.h>

int wmain(int argc, wchar_t **argv)
{
    if (argc != 3)
        return 2;
    const HANDLE file = CreateFileW(argv[1],
        GENERIC_READ | GENERIC_WRITE,
        FILE_SHARE_READ,
        nullptr,
        OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL,
        nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    const std::wstring signal = argv[2];
    CloseHandle(CreateFileW((signal + L".held").c_str(),
        GENERIC_WRITE,
        0,
        nullptr,
        CREATE_ALWAYS,
        FILE_ATTRIBUTE_NORMAL,
        nullptr));
    const std::wstring release = signal + L".release";
    for (int wait = 0; wait < 1200 && GetFileAttributesW(release.c_str()) == INVALID_FILE_ATTRIBUTES; ++wait)
        Sleep(50);
    CloseHandle(file);
    return 0;
}
