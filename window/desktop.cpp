#include "window/desktop.h"

#include "form/inventory.h"
#include "window/text.h"

#include <QDesktopServices>
#include <QMessageBox>

namespace window {

namespace {

void showBox(QWidget *parent, QMessageBox::Icon icon, const QString &text)
{
    QMessageBox box(icon, fromUtf8(form::kFormCaption), text, QMessageBox::Ok, parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace

void SystemDesktop::inform(QWidget *parent, const QString &text)
{
    showBox(parent, QMessageBox::Information, text);
}

void SystemDesktop::warn(QWidget *parent, const QString &text)
{
    showBox(parent, QMessageBox::Warning, text);
}

bool SystemDesktop::open(const QUrl &target)
{
    return QDesktopServices::openUrl(target);
}

QUrl targetUrl(const form::ShellTarget &target, const QString &dataFolder)
{
    switch (target.kind) {
    case form::ShellTarget::Kind::HelpPage:
        return QUrl::fromLocalFile(dataFolder + u'/' + fromUtf8(target.text));
    case form::ShellTarget::Kind::WebAddress:
    case form::ShellTarget::Kind::MailMessage:
        break;
    }
    return QUrl(fromUtf8(target.text), QUrl::TolerantMode);
}

} // namespace window
