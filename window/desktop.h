// What the windows ask of the desktop: message boxes, file dialogs, opening a file or an address with
// the user's default application, and a file shown in the file manager. Each can block or launch
// something, so they sit behind this interface and tests hand the windows a recorder instead.
#pragma once

#include "form/module1.h"

#include <QString>
#include <QStringList>
#include <QUrl>

class QWidget;

namespace window {

// An open or a save dialog, as Qt's take them: its title, the folder it starts in (for a save dialog the
// file it suggests), and the kinds of file it offers, "Name (*.csv *.txt)", the first chosen.
struct FileChoice {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    QString title;
    QString start;
    QStringList filters;
};

class Desktop {
public:
    virtual ~Desktop() = default;
    // A modal box titled as the parent's window ("ТарифМастер" without one), with the information icon
    // and a single OK button.
    virtual void inform(QWidget *parent, const QString &text) = 0;
    // The same with the warning icon, for a failure the user must know about.
    virtual void warn(QWidget *parent, const QString &text) = 0;
    // The same with the question icon and the buttons "Да" (true) and "Нет".
    virtual bool ask(QWidget *parent, const QString &text) = 0;
    // The file the user chose, or an empty text when the dialog was cancelled.
    virtual QString chooseFile(QWidget *parent, const FileChoice &choice) = 0;
    // Opens a file or an address with the default application; the answer is only advisory.
    virtual bool open(const QUrl &target) = 0;
    // Shows a file selected in the file manager, or opens its folder where no file manager answers for
    // that; the answer is only advisory.
    virtual bool showInFolder(const QString &file) = 0;
};

class SystemDesktop : public Desktop {
public:
    void inform(QWidget *parent, const QString &text) override;
    void warn(QWidget *parent, const QString &text) override;
    bool ask(QWidget *parent, const QString &text) override;
    QString chooseFile(QWidget *parent, const FileChoice &choice) override;
    bool open(const QUrl &target) override;
    bool showInFolder(const QString &file) override;
};

// Shows nothing and opens nothing: for rendering the windows and timing them where no one is watching.
class SilentDesktop : public Desktop {
public:
    void inform(QWidget *, const QString &) override
    {
    }
    void warn(QWidget *, const QString &) override
    {
    }
    bool ask(QWidget *, const QString &) override
    {
        return false;
    }
    QString chooseFile(QWidget *, const FileChoice &) override
    {
        return {};
    }
    bool open(const QUrl &) override
    {
        return true;
    }
    bool showInFolder(const QString &) override
    {
        return true;
    }
};

// What the shell is handed for a target of Module1: a help page as a file in the data folder (passed as
// a path, never through a command line, so spaces need no quoting), the web link's caption as it
// stands, and the mail link's message with its subject percent-encoded in UTF-8.
QUrl targetUrl(const form::ShellTarget &target, const QString &dataFolder);

} // namespace window
