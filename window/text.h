// The window's texts are QStrings; the engine, the reports and the inventory speak UTF-8. These are the
// only crossings between the two.
#pragma once

#include <QString>
#include <QStringList>

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

template<typename Range>
QStringList fromUtf8List(const Range &texts)
{
    QStringList list;
    for (const std::string_view text : texts)
        list << fromUtf8(text);
    return list;
}

} // namespace window
