#include "window/module1.h"

namespace window::Module1 {

QUrl helpPage(const QString &programFolder, const QString &pageName)
{
    return QUrl::fromLocalFile(programFolder + u'/' + pageName);
}

QUrl webAddress(const QString &caption)
{
    return QUrl(caption, QUrl::TolerantMode);
}

QUrl mailMessage(const QString &caption)
{
    QUrl url(QStringLiteral("mailto:") + caption);
    url.setQuery(QStringLiteral("Subject=") + QString::fromUtf16(kMailSubject));
    return url;
}

} // namespace window::Module1
