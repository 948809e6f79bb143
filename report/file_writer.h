// Replacing a file in one step, so that a failed write never leaves half a file: the new content goes
// to a temporary file beside the target, is flushed to the disk and then renamed over the target.
//
// The replacement keeps the promises of writing the file directly: an existing file that this user may
// not write is refused and left alone, and a replaced file keeps its permission bits. A symbolic link in
// the target's place is replaced by a regular file; the file it pointed to is left untouched. On
// Windows a read-only file is refused the same way, and so is a file that another program holds open
// without letting others write it (a word processor keeps its document so): the earlier file stays.
//
// The reports and the batch mode make their system calls for files here and nowhere else, reading
// included: file_writer_posix.cpp on Linux and in the browser, file_writer_windows.cpp on Windows, so
// that the code above this header is standard C++ wherever it is built. A path's text is UTF-8 on both
// systems (pathOfUtf8, utf8Text); Windows' wide names are met only below this header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace report {

// How a file operation ended: the errno of the first failure, or 0. Windows' error codes are given as
// the errno values that say the same.
struct FileStatus {
    int error = 0;
    bool protectedFile = false; // the existing file is write-protected for this user (error is EACCES)

    explicit operator bool() const
    {
        return error == 0;
    }
};

// New content for one file, written in pieces: open(), write() as often as needed, commit(). The first
// failure sticks and every later step returns it. Destroying an uncommitted replacement removes its
// temporary file and leaves the target as it was.
class FileReplacement {
public:
    explicit FileReplacement(std::filesystem::path target);
    ~FileReplacement();
    FileReplacement(const FileReplacement &) = delete;
    FileReplacement &operator=(const FileReplacement &) = delete;

    FileStatus open();
    FileStatus write(std::string_view bytes);
    FileStatus commit();

    const std::filesystem::path &target() const
    {
        return m_target;
    }

private:
    FileStatus fail(int error, bool protectedFile = false);
    FileStatus flush();
    int writeOut(std::string_view bytes); // to the temporary file: 0, or the errno of the failure

    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    std::intptr_t m_file = -1; // the temporary file while open: a descriptor, or Windows' handle
    int m_mode = -1;           // permission bits to keep, when the target is an existing regular file
    bool m_committed = false;
    std::string m_buffer;
    FileStatus m_status;
};

// Why a file operation failed, for the user: a Russian phrase for an errno value.
std::string errorReason(int error);

// How a failure to replace one kind of file is put where the kind matters: the file exists and this
// user may not write it, or a folder stands in the file's place.
struct FileWording {
    std::string_view writeProtected;
    std::string_view folderInPlace;
};

// Why replacing a file failed, for the user: the kind's words for a write-protected file or a folder in
// its place, else the phrase of the error number.
std::string failureReason(const FileStatus &status, const FileWording &file);

// The whole content at once.
FileStatus replaceFile(const std::filesystem::path &target, std::string_view bytes);

// Appends the whole content of a file to bytes; the errno of the first failure, or 0.
FileStatus readWholeFile(const std::filesystem::path &path, std::string &bytes);

// A file opened for reading in pieces, as a descriptor of the C library on either system; a folder is
// refused with EISDIR. The descriptor is not inherited by programs started meanwhile.
struct OpenedFile {
    int fd = -1;
    std::uintmax_t size = 0;
    FileStatus status;
};
OpenedFile openForReading(const std::filesystem::path &path);

// Reads up to size bytes at the descriptor's position: how many, 0 at the end, or -1 with errno set.
// An interrupted read is resumed.
std::ptrdiff_t readSome(int fd, char *buffer, std::size_t size);

// Reads up to size bytes from the start of the file without moving the descriptor's position; -1 where
// the descriptor cannot seek (a pipe).
std::ptrdiff_t readStart(int fd, char *buffer, std::size_t size);

// Reads up to size bytes from offset of an open file, leaving the descriptor's position as it was: how
// many, 0 at the end, or -1 with errno set. An archive's reader goes from member to member so.
std::ptrdiff_t readAt(int fd, std::uint64_t offset, char *buffer, std::size_t size);

// The size of an open file, or -1 with errno set.
std::int64_t sizeOfFile(int fd);

void closeFile(int fd);

// A new folder of this program's own among the system's temporary files, for the work files of a
// library that writes by name; empty when none can be made. The caller removes it with
// removeTemporaryFolder.
std::filesystem::path makeTemporaryFolder();

// Removes a folder that makeTemporaryFolder made, with everything in it, as far as it can.
void removeTemporaryFolder(const std::filesystem::path &folder);

// A path as the C library's narrow calls (fopen, open) take it, for libraries that know no other: on
// Linux its bytes; on Windows the system's ANSI code page, or the short (8.3) form of an existing path
// that the code page cannot spell, as a user name in another alphabet may make a temporary folder's.
// Empty when neither spells it.
std::string narrowPath(const std::filesystem::path &path);

// Writes all of bytes to an open file descriptor, resuming after interrupted and partial writes; false
// with errno set when the system refuses.
bool writeAll(int fd, std::string_view bytes);

// A path from its UTF-8 text (a command line's argument, a name the program composes), and the text of
// a path for the user, in UTF-8. On Linux both keep the bytes as they are.
std::filesystem::path pathOfUtf8(std::string_view text);
std::string utf8Text(const std::filesystem::path &path);

} // namespace report
