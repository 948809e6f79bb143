#include "win32/program_files.h"

#include "win32/module_path.h"
#include "win32/text.h"

#include <algorithm>
#include <shellapi.h>
#include <shlobj.h>
#include <string>

namespace win32 {

namespace {

std::filesystem::path knownFolder(REFKNOWNFOLDERID id, DWORD flags = 0)
{
    PWSTR path = nullptr;
    std::filesystem::path folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, flags, nullptr, &path)))
        folder = path;
    CoTaskMemFree(path);
    return folder;
}

// Whether folder lies in one of the machine's program folders, where installers put programs.
bool installed(const std::filesystem::path &folder)
{
    for (const KNOWNFOLDERID &id : {FOLDERID_ProgramFiles, FOLDERID_ProgramFilesX86}) {
        const std::filesystem::path programs = knownFolder(id);
        if (programs.empty())
            continue;
        const std::wstring prefix = programs.native() + L'\\';
        const std::wstring path = folder.native() + L'\\';
        if (CompareStringOrdinal(path.c_str(),
                static_cast<int>(std::min(path.size(), prefix.size())),
                prefix.c_str(),
                static_cast<int>(prefix.size()),
                TRUE)
            == CSTR_EQUAL)
            return true;
    }
    return false;
}

// Whether this user may create files in folder: asked of the file system itself, which knows the
// folder's permissions, a read-only medium and the rest.
bool writable(const std::filesystem::path &folder)
{
    const std::wstring probe = (folder / L".tarifmaster-write-test").native();
    HANDLE file = CreateFileW(probe.c_str(),
        GENERIC_WRITE,
        0,
        nullptr,
        CREATE_NEW,
        FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE,
        nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_EXISTS; // a leftover probe: the folder took it once
    CloseHandle(file);
    return true;
}

} // namespace

std::filesystem::path programFolder()
{
    return std::filesystem::path(modulePath()).parent_path();
}

std::filesystem::path documentsFolder()
{
    return knownFolder(FOLDERID_Documents, KF_FLAG_CREATE);
}

std::filesystem::path reportFolder(const std::filesystem::path &programFolder)
{
    if (!installed(programFolder) && writable(programFolder))
        return programFolder;
    const std::filesystem::path documents = documentsFolder();
    return documents.empty() ? programFolder : documents;
}

void openWithShell(const form::ShellTarget &target, const std::filesystem::path &programFolder)
{
    using Kind = form::ShellTarget::Kind;
    switch (target.kind) {
    case Kind::HelpPage: {
        const std::wstring page = (programFolder / wide(target.text)).native();
        ShellExecuteW(nullptr, L"open", page.c_str(), L"", L"", SW_SHOWMAXIMIZED);
        return;
    }
    case Kind::WebAddress: {
        HWND desktop = GetDesktopWindow(); // asked first, as the program always has
        ShellExecuteW(desktop, L"Open", wide(target.text).c_str(), L"", L"c:\\", SW_SHOWNORMAL);
        return;
    }
    case Kind::MailMessage:
        ShellExecuteW(nullptr, L"Open", wide(target.text).c_str(), L"", L"", SW_SHOWNORMAL);
        return;
    }
}

} // namespace win32
