// The file replacement and reading with the POSIX calls: Linux, and the browser edition's file system.
#include "report/file_writer.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace report {

namespace {

// Opens a new file of a name nobody else uses in folder, readable as any new file is (the umask
// decides); O_EXCL makes a name taken meanwhile fail instead of being reused.
int createTemporary(const std::filesystem::path &target, std::filesystem::path &temporary)
{
    std::random_device seed;
    std::mt19937_64 random(
        (static_cast<std::uint64_t>(seed()) << 32) ^ seed() ^ static_cast<std::uint64_t>(getpid()));
    for (int attempt = 0; attempt < 100; ++attempt) {
        static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        std::string name(1, '.');
        name += target.filename().string();
        name += '.';
        for (int i = 0; i < 8; ++i)
            name += kLetters[random() % (sizeof kLetters - 1)];
        name += ".tmp";
        temporary = target.parent_path() / name;
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Makes the rename itself durable; a folder that cannot be synced does not fail a written file.
void syncFolder(const std::filesystem::path &folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

OpenedFile openForReading(const std::filesystem::path &path)
{
    OpenedFile file;
    file.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status { };
    if (file.fd < 0 || ::fstat(file.fd, &status) != 0) {
        file.status = {errno};
    } else if (S_ISDIR(status.st_mode)) {
        file.status = {EISDIR};
    } else {
        file.size = static_cast<std::uintmax_t>(status.st_size);
        return file;
    }
    if (file.fd >= 0)
        ::close(file.fd);
    file.fd = -1;
    return file;
}

std::ptrdiff_t readSome(int fd, char *buffer, std::size_t size)
{
    for (;;) {
        const ssize_t got = ::read(fd, buffer, size);
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

std::ptrdiff_t readStart(int fd, char *buffer, std::size_t size)
{
    return ::pread(fd, buffer, size, 0);
}

std::ptrdiff_t readAt(int fd, std::uint64_t offset, char *buffer, std::size_t size)
{
    for (;;) {
        const ssize_t got = ::pread(fd, buffer, size, static_cast<off_t>(offset));
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

std::int64_t sizeOfFile(int fd)
{
    struct stat status { };
    if (::fstat(fd, &status) != 0)
        return -1;
    return static_cast<std::int64_t>(status.st_size);
}

void closeFile(int fd)
{
    ::close(fd);
}

std::filesystem::path makeTemporaryFolder()
{
    std::error_code error;
    std::string pattern = (std::filesystem::temp_directory_path(error) / "tarifmaster-XXXXXX").string();
    if (error || ::mkdtemp(pattern.data()) == nullptr)
        return {};
    return pattern;
}

void removeTemporaryFolder(const std::filesystem::path &folder)
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

std::string narrowPath(const std::filesystem::path &path)
{
    return path.string();
}

FileReplacement::~FileReplacement()
{
    if (m_file >= 0)
        ::close(static_cast<int>(m_file));
    if (!m_committed && !m_temporary.empty())
        ::unlink(m_temporary.c_str());
}

FileStatus FileReplacement::fail(int error, bool protectedFile)
{
    if (m_status)
        m_status = {error, protectedFile};
    if (m_file >= 0) {
        ::close(static_cast<int>(m_file));
        m_file = -1;
    }
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
    return m_status;
}

FileStatus FileReplacement::open()
{
    if (!m_status || m_file >= 0)
        return m_status;
    // An existing regular file is written only by whom may write it, and keeps its permissions. The
    // check is the one the system makes on opening it for writing (effective ids, so root may).
    struct stat existing { };
    if (::lstat(m_target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        if (::faccessat(AT_FDCWD, m_target.c_str(), W_OK, AT_EACCESS) != 0) {
            const int error = errno;
            // In a folder the user may not write either, the folder is what stands in the way.
            const std::filesystem::path folder = m_target.parent_path();
            const bool folderWritable
                = ::faccessat(AT_FDCWD, folder.empty() ? "." : folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
            return fail(error, error == EACCES && folderWritable);
        }
        m_mode = static_cast<int>(existing.st_mode & 07777);
    }
    const int fd = createTemporary(m_target, m_temporary);
    if (fd < 0) {
        m_temporary.clear();
        return fail(errno);
    }
    m_file = fd;
    if (m_mode >= 0 && ::fchmod(fd, static_cast<mode_t>(m_mode)) != 0)
        return fail(errno);
    return m_status;
}

int FileReplacement::writeOut(std::string_view bytes)
{
    return writeAll(static_cast<int>(m_file), bytes) ? 0 : errno;
}

FileStatus FileReplacement::commit()
{
    if (!m_status)
        return m_status;
    if (m_file < 0)
        return fail(EBADF);
    if (!flush())
        return m_status;
    const int fd = static_cast<int>(m_file);
    if (::fsync(fd) != 0)
        return fail(errno);
    m_file = -1;
    if (::close(fd) != 0)
        return fail(errno);
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        return fail(errno);
    m_committed = true;
    syncFolder(m_target.parent_path());
    return m_status;
}

} // namespace report
