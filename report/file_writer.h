// Replacing a file in one step, so that a failed write never leaves half a file: the new content goes
// to a temporary file beside the target, is flushed to the disk and then renamed over the target.
//
// The replacement keeps the promises of writing the file directly: an existing file that this user may
// not write is refused and left alone, and a replaced file keeps its permission bits. A symbolic link in
// the target's place is replaced by a regular file; the file it pointed to is left untouched.
//
// The reports make their system calls for files here and nowhere else, reading a whole file included,
// so that the code above this header is standard C++ wherever it is built.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace report {

// How a file operation ended: the errno of the first failure, or 0.
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

    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    int m_fd = -1;
    int m_mode = -1; // permission bits to keep, when the target is an existing regular file
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

// Writes all of bytes to an open file descriptor, resuming after interrupted and partial writes; false
// with errno set when the system refuses.
bool writeAll(int fd, std::string_view bytes);

} // namespace report
