// What the window asks of the desktop: a message box and opening a file or an address with the user's
// default application. Both can block or launch something, so they sit behind this interface and
// tests hand the window a recorder instead.
#pragma once

#include "form/module1.h"

#include <QString>
#include <QUrl>

class QWidget;

namespace window {

class Desktop {
public:
    virtual ~Desktop() = default;
    // A modal box titled "ТарифМастер" with the information icon and a single OK button.
    virtual void inform(QWidget *parent, const QString &text) = 0;
    // The same with the warning icon, for a failure the user must know about.
    virtual void warn(QWidget *parent, const QString &text) = 0;
    // Opens a file or an address with the default application; the answer is only advisory.
    virtual bool open(const QUrl &target) = 0;
};

class SystemDesktop : public Desktop {
public:
    void inform(QWidget *parent, const QString &text) override;
    void warn(QWidget *parent, const QString &text) override;
    bool open(const QUrl &target) override;
};

// Shows nothing and opens nothing: for rendering the window and timing it where no one is watching.
class SilentDesktop : public Desktop {
public:
    void inform(QWidget *, const QString &) override
    {
    }
    void warn(QWidget *, const QString &) override
    {
    }
    bool open(const QUrl &) override
    {
        return true;
    }
};

// What the shell is handed for a target of Module1: a help page as a file in the data folder (passed as
// a path, never through a command line, so spaces need no quoting), the web link's caption as it
// stands, and the mail link's message with its subject percent-encoded in UTF-8.
QUrl targetUrl(const form::ShellTarget &target, const QString &dataFolder);

} // namespace window
