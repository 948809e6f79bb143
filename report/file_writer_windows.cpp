// The file replacement and reading with Windows' own calls, on wide (UTF-16) names: a temporary file
// beside the target made with CreateFileW and flushed with FlushFileBuffers, then put in the target's
// place by ReplaceFileW, which keeps the replaced file's attributes, security and streams, or moved
// there by MoveFileExW where there was no file yet. The reading descriptors are the C library's,
// wrapped around Windows' handles, so that the batch mode reads as on Linux.
#include "report/file_writer.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <io.h>
#include <optional>
#include <random>
#include <windows.h>

namespace report {

namespace {

// The errno value that says what one of Windows' error codes says, so that the reasons for the user
// are the ones Linux gives for the same trouble.
int errnoOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_CANNOT_MAKE:
        return EACCES;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return EBUSY;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return EINVAL;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    case ERROR_FILE_TOO_LARGE:
        return EFBIG;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA:
        return EPIPE;
    default: // a drive not ready, a network gone, a damaged disk
        return EIO;
    }
}

int lastErrno()
{
    return errnoOf(GetLastError());
}

// Writes all of bytes to a handle; 0, or the errno of the failure.
int writeHandle(HANDLE handle, std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data(), piece, &written, nullptr))
            return lastErrno();
        bytes.remove_prefix(written);
    }
    return 0;
}

// The handle behind a descriptor of the C library or a FileReplacement's file; INVALID_HANDLE_VALUE
// for none.
HANDLE handleOf(std::intptr_t file)
{
    return reinterpret_cast<HANDLE>(file);
}

HANDLE handleOfDescriptor(int fd)
{
    return handleOf(_get_osfhandle(fd));
}

// Makes something under a name nobody else uses: stem, eight random letters and digits, then suffix.
// taken(name) tries it and answers whether the name was taken; a taken name is tried again with other
// letters, up to a hundred times. The last name tried, which the caller finds its result under.
std::wstring underFreshName(const std::wstring &stem,
    std::wstring_view suffix,
    const std::function<bool(const std::wstring &)> &taken)
{
    static constexpr wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937_64 random((static_cast<std::uint64_t>(seed()) << 32) ^ seed() ^ GetCurrentProcessId());
    std::wstring name;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = stem;
        for (int i = 0; i < 8; ++i)
            name += kLetters[random() % (std::size(kLetters) - 1)];
        name += suffix;
        if (!taken(name))
            break;
    }
    return name;
}

// A path as a whole path from its drive or share; the path itself when Windows cannot tell.
std::wstring fullPath(const std::filesystem::path &path)
{
    std::error_code error;
    const std::filesystem::path whole = std::filesystem::absolute(path, error);
    return error ? path.native() : whole.native();
}

// Puts the written file in the target's place. A file that stands keeps what Windows keeps of it
// (attributes, security, streams): ReplaceFileW, which leaves both files as they were when it cannot
// finish. Should it have moved the old file aside but not the new one into its place, the new one is
// moved there, so that the result is not lost with the old one gone. A new file is moved into place.
bool putInPlace(const std::filesystem::path &written, const std::filesystem::path &target, bool exists)
{
    if (!exists)
        return MoveFileExW(written.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    // Whole paths: a bare file name leaves some ReplaceFileW (Wine's) without a folder for its work.
    const std::wstring whole = fullPath(target);
    constexpr DWORD kKeepWhatCan = REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS;
    if (ReplaceFileW(whole.c_str(), fullPath(written).c_str(), nullptr, kKeepWhatCan, nullptr, nullptr))
        return true;
    return GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2
        && MoveFileExW(written.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

// Opens a new file of a name nobody else uses in the target's folder; CREATE_NEW makes a name taken
// meanwhile fail instead of being reused. Nobody else may open it while it is written.
HANDLE createTemporary(const std::filesystem::path &target, std::filesystem::path &temporary)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    const std::wstring stem = (target.parent_path() / (L"." + target.filename().native() + L".")).native();
    temporary = underFreshName(stem, L".tmp", [&file](const std::wstring &name) {
        file = CreateFileW(
            name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        return file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS;
    });
    return file;
}

} // namespace

bool writeAll(int fd, std::string_view bytes)
{
    const HANDLE handle = handleOfDescriptor(fd);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = EBADF;
        return false;
    }
    const int error = writeHandle(handle, bytes);
    if (error != 0)
        errno = error;
    return error == 0;
}

OpenedFile openForReading(const std::filesystem::path &path)
{
    OpenedFile file;
    // Others may go on reading, writing, renaming and removing the file meanwhile, as on Linux: the
    // batch's result may even replace the list it was computed from.
    const HANDLE handle = CreateFileW(path.c_str(),
        GENERIC_READ,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr,
        OPEN_EXISTING,
        FILE_FLAG_SEQUENTIAL_SCAN,
        nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // A folder cannot be opened as a file at all; Windows calls that a denied access.
        const DWORD attributes = GetFileAttributesW(path.c_str());
        const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        file.status = {folder ? EISDIR : errnoOf(error)};
        return file;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle, &size)) {
        file.status = {lastErrno()};
        CloseHandle(handle);
        return file;
    }
    file.size = static_cast<std::uintmax_t>(size.QuadPart);
    file.fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (file.fd < 0) {
        file.status = {EMFILE};
        CloseHandle(handle);
    }
    return file;
}

std::ptrdiff_t readSome(int fd, char *buffer, std::size_t size)
{
    const HANDLE handle = handleOfDescriptor(fd);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = EBADF;
        return -1;
    }
    DWORD got = 0;
    if (!ReadFile(handle, buffer, static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30)), &got, nullptr)) {
        if (GetLastError() == ERROR_BROKEN_PIPE) // the writing end of a pipe is closed: its end
            return 0;
        errno = lastErrno();
        return -1;
    }
    return static_cast<std::ptrdiff_t>(got);
}

std::ptrdiff_t readStart(int fd, char *buffer, std::size_t size)
{
    const HANDLE handle = handleOfDescriptor(fd);
    if (handle == INVALID_HANDLE_VALUE || GetFileType(handle) != FILE_TYPE_DISK) {
        errno = ESPIPE;
        return -1;
    }
    LARGE_INTEGER position{};
    if (!SetFilePointerEx(handle, LARGE_INTEGER{}, &position, FILE_CURRENT)) {
        errno = lastErrno();
        return -1;
    }
    DWORD got = 0;
    const bool read = SetFilePointerEx(handle, LARGE_INTEGER{}, nullptr, FILE_BEGIN)
        && ReadFile(handle, buffer, static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30)), &got, nullptr);
    const int error = read ? 0 : lastErrno();
    if (!SetFilePointerEx(handle, position, nullptr, FILE_BEGIN)) {
        errno = lastErrno();
        return -1;
    }
    if (!read) {
        errno = error;
        return -1;
    }
    return static_cast<std::ptrdiff_t>(got);
}

std::ptrdiff_t readAt(int fd, std::uint64_t offset, char *buffer, std::size_t size)
{
    const HANDLE handle = handleOfDescriptor(fd);
    LARGE_INTEGER position{};
    if (handle == INVALID_HANDLE_VALUE
        || !SetFilePointerEx(handle, LARGE_INTEGER{}, &position, FILE_CURRENT)) {
        errno = handle == INVALID_HANDLE_VALUE ? EBADF : lastErrno();
        return -1;
    }
    // A read at an offset moves a synchronous handle's position: it is put back.
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    const bool read
        = ReadFile(handle, buffer, static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30)), &got, &at);
    const DWORD error = read ? ERROR_SUCCESS : GetLastError();
    if (!SetFilePointerEx(handle, position, nullptr, FILE_BEGIN)) {
        errno = lastErrno();
        return -1;
    }
    if (!read && error != ERROR_HANDLE_EOF) {
        errno = errnoOf(error);
        return -1;
    }
    return static_cast<std::ptrdiff_t>(got);
}

std::int64_t sizeOfFile(int fd)
{
    const HANDLE handle = handleOfDescriptor(fd);
    LARGE_INTEGER size{};
    if (handle == INVALID_HANDLE_VALUE || !GetFileSizeEx(handle, &size)) {
        errno = handle == INVALID_HANDLE_VALUE ? EBADF : lastErrno();
        return -1;
    }
    return size.QuadPart;
}

void closeFile(int fd)
{
    _close(fd);
}

// The system's temporary folder is asked of Windows itself: std::filesystem's own calls would bring
// the C++ library's streams and locales into both programs, a third of the batch program's size.
std::filesystem::path makeTemporaryFolder()
{
    std::wstring base(MAX_PATH + 1, L'\0');
    const DWORD length = GetTempPathW(static_cast<DWORD>(base.size()), base.data());
    if (length == 0 || length > base.size())
        return {};
    base.resize(length);
    bool made = false;
    const std::wstring folder
        = underFreshName(base + L"tarifmaster-", L"", [&made](const std::wstring &name) {
              made = CreateDirectoryW(name.c_str(), nullptr);
              return !made && GetLastError() == ERROR_ALREADY_EXISTS;
          });
    return made ? std::filesystem::path(folder) : std::filesystem::path();
}

// Removes the work folder and what is in it. A link in it (a junction, a symbolic link) is removed as
// the link, never followed: what it points to is somebody else's.
void removeTemporaryFolder(const std::filesystem::path &folder)
{
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileExW(
        (folder.native() + L"\\*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring_view name(found.cFileName);
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder.native() + L"\\" + std::wstring(name);
            const DWORD attributes = found.dwFileAttributes;
            if (attributes & FILE_ATTRIBUTE_READONLY)
                SetFileAttributesW(path.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
            if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
                removeTemporaryFolder(path);
            else if (attributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryW(path.c_str()); // the link to a folder, not the folder
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

namespace {

// The text in the ANSI code page, or nothing when a character has no place in it.
std::optional<std::string> inCodePage(const std::wstring &wide)
{
    if (wide.empty())
        return std::string();
    BOOL lost = FALSE;
    const int length = WideCharToMultiByte(
        CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, &lost);
    if (length <= 0 || lost)
        return std::nullopt;
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP,
        WC_NO_BEST_FIT_CHARS,
        wide.data(),
        static_cast<int>(wide.size()),
        narrow.data(),
        length,
        nullptr,
        &lost);
    if (lost)
        return std::nullopt;
    return narrow;
}

} // namespace

std::string narrowPath(const std::filesystem::path &path)
{
    if (const auto narrow = inCodePage(path.native()))
        return *narrow;
    const DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (length == 0)
        return {};
    std::wstring shortPath(length, L'\0');
    const DWORD written = GetShortPathNameW(path.c_str(), shortPath.data(), length);
    if (written == 0 || written >= length)
        return {};
    shortPath.resize(written);
    return inCodePage(shortPath).value_or(std::string());
}

FileReplacement::~FileReplacement()
{
    if (m_file != -1)
        CloseHandle(handleOf(m_file));
    if (!m_committed && !m_temporary.empty())
        DeleteFileW(m_temporary.c_str());
}

FileStatus FileReplacement::fail(int error, bool protectedFile)
{
    if (m_status)
        m_status = {error, protectedFile};
    if (m_file != -1) {
        CloseHandle(handleOf(m_file));
        m_file = -1;
    }
    if (!m_temporary.empty()) {
        DeleteFileW(m_temporary.c_str());
        m_temporary.clear();
    }
    return m_status;
}

FileStatus FileReplacement::open()
{
    if (!m_status || m_file != -1)
        return m_status;
    const DWORD attributes = GetFileAttributesW(m_target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return fail(EISDIR);
        if (attributes & FILE_ATTRIBUTE_READONLY)
            return fail(EACCES, true);
        // The move at the end needs to write and remove the existing file. Asking for that now finds
        // a file this user may not write, and a file that another program holds open without sharing
        // it, before anything is written; the file itself is not touched.
        const HANDLE existing = CreateFileW(m_target.c_str(),
            GENERIC_WRITE | DELETE,
            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr,
            OPEN_EXISTING,
            FILE_ATTRIBUTE_NORMAL,
            nullptr);
        if (existing == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            return error == ERROR_ACCESS_DENIED ? fail(EACCES, true) : fail(errnoOf(error));
        }
        CloseHandle(existing);
    }
    const HANDLE file = createTemporary(m_target, m_temporary);
    if (file == INVALID_HANDLE_VALUE) {
        const int error = lastErrno();
        m_temporary.clear();
        return fail(error);
    }
    m_file = reinterpret_cast<std::intptr_t>(file);
    return m_status;
}

int FileReplacement::writeOut(std::string_view bytes)
{
    return writeHandle(handleOf(m_file), bytes);
}

FileStatus FileReplacement::commit()
{
    if (!m_status)
        return m_status;
    if (m_file == -1)
        return fail(EBADF);
    if (!flush())
        return m_status;
    if (!FlushFileBuffers(handleOf(m_file)))
        return fail(lastErrno());
    const HANDLE file = handleOf(m_file);
    m_file = -1;
    if (!CloseHandle(file))
        return fail(lastErrno());
    const bool exists = GetFileAttributesW(m_target.c_str()) != INVALID_FILE_ATTRIBUTES;
    const bool replaced = putInPlace(m_temporary, m_target, exists);
    if (!replaced) {
        const DWORD error = GetLastError();
        // The folder took the temporary file and the target passed the check in open(): a target that
        // cannot be replaced now has been opened by another program since.
        const bool busy = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION
            || error == ERROR_UNABLE_TO_REMOVE_REPLACED || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT;
        return fail(busy && exists ? EBUSY : errnoOf(error));
    }
    m_committed = true;
    return m_status;
}

} // namespace report
