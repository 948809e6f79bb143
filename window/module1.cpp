#include "window/module1.h"

#include "window/text.h"

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
    url.setQuery(QStringLiteral("Subject=") + fromUtf8(kMailSubject));
    return url;
}

} // namespace window::Module1
