#include "report/file_writer.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace report {

namespace {

WriteResult failure(const std::filesystem::path &target, std::string reason)
{
    return {false, target, std::move(reason)};
}

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

// Makes the rename itself durable; a folder that cannot be synced does not fail a written report.
void syncFolder(const std::filesystem::path &folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

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
    case EISDIR:
        return "на месте файла отчета находится папка с тем же именем";
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

WriteResult replaceFile(const std::filesystem::path &target, std::string_view bytes)
{
    std::filesystem::path temporary;
    const int fd = createTemporary(target, temporary);
    if (fd < 0)
        return failure(target, errorReason(errno));

    const auto abandon = [&](int error) {
        ::unlink(temporary.c_str());
        return failure(target, errorReason(error));
    };
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        return abandon(error);
    }
    if (::close(fd) != 0)
        return abandon(errno);
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return abandon(errno);
    syncFolder(target.parent_path());
    return {true, target, {}};
}

} // namespace report
