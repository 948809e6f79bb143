#include "window/report_picture.h"

#include "report/file_writer.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

namespace window {

report::PngPicture readReportPicture(const std::filesystem::path &file)
{
    using enum report::PngPicture::Problem;
    std::string data;
    if (const report::FileStatus read = report::readWholeFile(file, data); !read)
        return {file, Unreadable, read.error, {}};

    QImage image;
    if (!image.loadFromData(QByteArray::fromRawData(data.data(), static_cast<qsizetype>(data.size())))
        || image.isNull())
        return {file, NotAPicture, 0, {}};

    // A picture's resolution would otherwise be the screen's, and the document would change with the
    // monitor it was written on: the report's picture is always one of 96 dots per inch.
    constexpr int kDotsPerMetre = 3780;
    image.setDotsPerMeterX(kDotsPerMetre);
    image.setDotsPerMeterY(kDotsPerMetre);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return {file, NotConverted, 0, {}};
    return {file, None, 0, png.toStdString()};
}

} // namespace window
