#include "report/picture.h"

#include "report/file_writer.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace report {

namespace {

// The whole file, or the errno of the first failure.
bool readFile(const std::filesystem::path &path, std::string &bytes, int &error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return false;
    }
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error = errno;
            ::close(fd);
            return false;
        }
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return true;
}

} // namespace

PngPicture pictureAsPng(const std::filesystem::path &picture)
{
    const std::string name = picture.string();
    std::string data;
    int error = 0;
    if (!readFile(picture, data, error)) {
        if (error == ENOENT)
            return {false, {}, "не найден рисунок " + name};
        if (error == EACCES || error == EPERM)
            return {false, {}, "нет прав на чтение рисунка " + name};
        if (error == EISDIR)
            return {false, {}, "на месте рисунка " + name + " находится папка"};
        return {false, {}, "не удалось прочитать рисунок " + name + " (" + errorReason(error) + ")"};
    }

    QImage image;
    if (!image.loadFromData(QByteArray::fromRawData(data.data(), static_cast<qsizetype>(data.size())))
        || image.isNull())
        return {false, {}, "рисунок " + name + " поврежден или не является рисунком"};

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return {false, {}, "не удалось преобразовать рисунок " + name + " в PNG"};
    return {true, png.toStdString(), {}};
}

} // namespace report
