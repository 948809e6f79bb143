#include "window/desktop.h"

#include "form/fleet_texts.h"
#include "form/inventory.h"
#include "window/text.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace window {

namespace {

QString titleFor(const QWidget *parent)
{
    return parent ? parent->window()->windowTitle() : fromUtf8(form::kFormCaption);
}

void showBox(QWidget *parent, QMessageBox::Icon icon, const QString &text)
{
    QMessageBox box(icon, titleFor(parent), text, QMessageBox::Ok, parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

QUrl folderOf(const QString &file)
{
    return QUrl::fromLocalFile(QFileInfo(file).absolutePath());
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

bool SystemDesktop::ask(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Question, titleFor(parent), text, QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(fromUtf8(form::fleet_text::kYesButton), QMessageBox::YesRole);
    box.setEscapeButton(box.addButton(fromUtf8(form::fleet_text::kNoButton), QMessageBox::NoRole));
    box.setDefaultButton(yes);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return box.clickedButton() == yes;
}

QString SystemDesktop::chooseFile(QWidget *parent, const FileChoice &choice)
{
    const QString filters = choice.filters.join(QStringLiteral(";;"));
    if (choice.kind == FileChoice::Kind::Save)
        return QFileDialog::getSaveFileName(parent, choice.title, choice.start, filters);
    return QFileDialog::getOpenFileName(parent, choice.title, choice.start, filters);
}

bool SystemDesktop::open(const QUrl &target)
{
    return QDesktopServices::openUrl(target);
}

// The file managers of the free desktops select a file when asked over the session bus
// (org.freedesktop.FileManager1). The answer comes later: where none answers, the folder is opened then.
bool SystemDesktop::showInFolder(const QString &file)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return QDesktopServices::openUrl(folderOf(file));
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded)} << QString();
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), QCoreApplication::instance());
    QObject::connect(
        watcher, &QDBusPendingCallWatcher::finished, watcher, [file](QDBusPendingCallWatcher *done) {
            if (done->isError())
                QDesktopServices::openUrl(folderOf(file));
            done->deleteLater();
        });
    return true;
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
