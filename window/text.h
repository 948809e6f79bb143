// The window's texts are QStrings; the engine, the reports and the inventory speak UTF-8. These are the
// crossings between the two, and between a file's name as Qt shows it and as the system has it.
#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <string>
#include <string_view>

namespace window {

inline std::string toUtf8(const QString &text)
{
    return text.toStdString();
}

inline QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::filesystem::path pathOf(const QString &file)
{
    return QFile::encodeName(file).toStdString();
}

inline QString fromPath(const std::filesystem::path &file)
{
    return QFile::decodeName(file.c_str());
}

template<typename Range>
QStringList fromUtf8List(const Range &texts)
{
    QStringList list;
    for (const std::string_view text : texts)
        list << fromUtf8(text);
    return list;
}

} // namespace window
