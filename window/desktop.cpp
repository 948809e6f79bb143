#include "window/desktop.h"

#include "window/inventory.h"
#include "window/text.h"

#include <QDesktopServices>
#include <QMessageBox>

namespace window {

namespace {

void showBox(QWidget *parent, QMessageBox::Icon icon, const QString &text)
{
    QMessageBox box(icon, fromUtf8(kFormCaption), text, QMessageBox::Ok, parent);
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

} // namespace window
