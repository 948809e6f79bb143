// What the window tests share: a desktop that records instead of showing boxes or launching programs,
// the moves of a user (open a tab, click a row, choose from a drop-down, type), and the base of a suite.
#pragma once

#include "window/controls.h"
#include "window/desktop.h"
#include "window/main_window.h"
#include "window/text.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>
#include <string>
#include <string_view>

using window::fromUtf8;

class RecordingDesktop : public window::Desktop {
public:
    struct Message {
        bool warning;
        QString text;
    };
    void inform(QWidget *, const QString &text) override;
    void warn(QWidget *, const QString &text) override;
    bool ask(QWidget *, const QString &text) override;
    QString chooseFile(QWidget *, const window::FileChoice &choice) override;
    bool open(const QUrl &target) override;
    bool showInFolder(const QString &file) override;

    QList<Message> messages; // questions too, as no warning
    QList<QUrl> opened;
    QStringList shownInFolder;
    QList<window::FileChoice> dialogs;
    QString fileToChoose; // the dialogs' answer; empty: cancelled
    bool openSucceeds = true;
};

class WindowFixture {
public:
    explicit WindowFixture(const QString &programFolder = QStringLiteral("/nonexistent/tarifmaster"));
    ~WindowFixture();

    template<typename T>
    T *get(const QString &name) const
    {
        return form->findChild<T *>(name);
    }

    void openPageOf(QWidget *widget);
    bool clickRow(const QString &list, const QString &entry);
    bool chooseFromDropDown(const QString &combo, const QString &entry);
    bool clickButton(const QString &name);
    void clickField(const QString &name);
    void typeInto(QWidget *widget, const QString &text);
    void replaceText(const QString &field, const QString &text);
    QString text(const QString &name) const; // a text box's or combo box's text

    // Makes the moves of a user in order and checks what they show:
    //   "#Name"          clicks the button, option, check box or field Name
    //   "List1:entry"    clicks the entry of a list; "Combo1:entry" chooses it from the drop-down
    //   "Text2=text"     replaces the field's text by typing
    //   "Text3?text"     expects the field (or combo box) to show text
    // Returns the first move that could not be made or showed something else, and what it showed;
    // empty when every move went as written.
    QString play(const QStringList &moves);

    RecordingDesktop desktop;
    std::unique_ptr<window::MainWindow> form;
    bool exposed = false;
};

// The base of a window suite: a fresh window, shown, before every test function, closed after it.
class WindowSuite : public QObject {
    Q_OBJECT

protected slots: // protected: Qt Test runs them around each test, never as tests of their own
    void init();
    void cleanup();

protected:
    std::unique_ptr<WindowFixture> w;
};
