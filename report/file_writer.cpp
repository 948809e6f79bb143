// The file replacement's buffering and words, the same on every system; the system calls are in
// file_writer_posix.cpp and file_writer_windows.cpp.
#include "report/file_writer.h"

#include <cerrno>

namespace report {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

} // namespace

FileReplacement::FileReplacement(std::filesystem::path target)
    : m_target(std::move(target))
{
}

FileStatus FileReplacement::flush()
{
    if (m_status)
        if (const int error = writeOut(m_buffer))
            return fail(error);
    m_buffer.clear();
    return m_status;
}

FileStatus FileReplacement::write(std::string_view bytes)
{
    if (!m_status)
        return m_status;
    if (m_file == -1)
        return fail(EBADF);
    if (m_buffer.size() + bytes.size() > kBufferSize) {
        if (!flush())
            return m_status;
        if (bytes.size() >= kBufferSize) {
            const int error = writeOut(bytes);
            return error == 0 ? m_status : fail(error);
        }
    }
    if (m_buffer.capacity() < kBufferSize)
        m_buffer.reserve(kBufferSize);
    m_buffer.append(bytes);
    return m_status;
}

FileStatus replaceFile(const std::filesystem::path &target, std::string_view bytes)
{
    FileReplacement file(target);
    file.open();
    file.write(bytes);
    return file.commit(); // the first failure sticks through the later steps
}

FileStatus readWholeFile(const std::filesystem::path &path, std::string &bytes)
{
    const OpenedFile file = openForReading(path);
    if (!file.status)
        return file.status;
    char buffer[16384];
    std::ptrdiff_t got;
    while ((got = readSome(file.fd, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, static_cast<std::size_t>(got));
    const int error = got < 0 ? errno : 0;
    closeFile(file.fd);
    return {error};
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
#ifdef EDQUOT // a disk quota; Windows says its disk is full instead
    case EDQUOT:
#endif
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
    case EINVAL: // a name the file system does not take: ':' or '?' on Windows, on a FAT disk on Linux
        return "недопустимое имя файла";
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

std::filesystem::path pathOfUtf8(std::string_view text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string utf8Text(const std::filesystem::path &path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace report
