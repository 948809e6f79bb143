#include "report/picture.h"

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
    using enum PngPicture::Problem;
    std::string data;
    int error = 0;
    if (!readFile(picture, data, error))
        return {Unreadable, error, {}};

    QImage image;
    if (!image.loadFromData(QByteArray::fromRawData(data.data(), static_cast<qsizetype>(data.size())))
        || image.isNull())
        return {NotAPicture, 0, {}};

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return {NotConverted, 0, {}};
    return {None, 0, png.toStdString()};
}

} // namespace report
