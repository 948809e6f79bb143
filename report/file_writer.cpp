#include "report/file_writer.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace report {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

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

FileStatus readWholeFile(const std::filesystem::path &path, std::string &bytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {errno};
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            return {error};
        }
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return {};
}

FileReplacement::FileReplacement(std::filesystem::path target)
    : m_target(std::move(target))
{
}

FileReplacement::~FileReplacement()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_committed && !m_temporary.empty())
        ::unlink(m_temporary.c_str());
}

FileStatus FileReplacement::fail(int error, bool protectedFile)
{
    if (m_status)
        m_status = {error, protectedFile};
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
    return m_status;
}

FileStatus FileReplacement::open()
{
    if (!m_status || m_fd >= 0)
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
    m_fd = createTemporary(m_target, m_temporary);
    if (m_fd < 0) {
        m_temporary.clear();
        return fail(errno);
    }
    if (m_mode >= 0 && ::fchmod(m_fd, static_cast<mode_t>(m_mode)) != 0)
        return fail(errno);
    m_buffer.reserve(kBufferSize);
    return m_status;
}

FileStatus FileReplacement::flush()
{
    if (m_status && !writeAll(m_fd, m_buffer))
        return fail(errno);
    m_buffer.clear();
    return m_status;
}

FileStatus FileReplacement::write(std::string_view bytes)
{
    if (!m_status)
        return m_status;
    if (m_fd < 0)
        return fail(EBADF);
    if (m_buffer.size() + bytes.size() > kBufferSize) {
        if (!flush())
            return m_status;
        if (bytes.size() >= kBufferSize)
            return writeAll(m_fd, bytes) ? m_status : fail(errno);
    }
    m_buffer.append(bytes);
    return m_status;
}

FileStatus FileReplacement::commit()
{
    if (!m_status)
        return m_status;
    if (m_fd < 0)
        return fail(EBADF);
    if (!flush())
        return m_status;
    if (::fsync(m_fd) != 0)
        return fail(errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        return fail(errno);
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        return fail(errno);
    m_committed = true;
    syncFolder(m_target.parent_path());
    return m_status;
}

FileStatus replaceFile(const std::filesystem::path &target, std::string_view bytes)
{
    FileReplacement file(target);
    file.open();
    file.write(bytes);
    return file.commit(); // the first failure sticks through the later steps
}

std::string errorReason(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return "нет прав на запись в папку";
    case EROFS:
        return "диск защищен от записи";
    case ENOSPC:
    case EDQUOT:
        return "на диске не хватает места";
    case ENOENT:
        return "папка не найдена";
    case ENOTDIR:
        return "в пути к папке вместо папки находится файл";
    case EFBIG:
        return "файл превышает допустимый размер";
    case EIO:
        return "ошибка чтения или записи на диске";
    case ENAMETOOLONG:
        return "слишком длинный путь к файлу";
    case ELOOP:
        return "в пути к папке слишком много символических ссылок";
    case EBUSY:
    case ETXTBSY:
        return "файл занят другой программой";
    case EMFILE:
    case ENFILE:
        return "открыто слишком много файлов";
    default:
        return "системная ошибка номер " + std::to_string(error);
    }
}

std::string failureReason(const FileStatus &status, const FileWording &file)
{
    if (status.protectedFile)
        return std::string(file.writeProtected);
    if (status.error == EISDIR)
        return std::string(file.folderInPlace);
    return errorReason(status.error);
}

} // namespace report
