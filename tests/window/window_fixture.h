// What the window tests share: a desktop that records instead of showing boxes or launching programs,
// and the moves of a user (open a tab, click a row, choose from a drop-down, type).
#pragma once

#include "window/controls.h"
#include "window/desktop.h"
#include "window/form1.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

class RecordingDesktop : public window::Desktop {
public:
    struct Message {
        bool warning;
        QString text;
    };
    void inform(QWidget *, const QString &text) override;
    void warn(QWidget *, const QString &text) override;
    bool open(const QUrl &target) override;

    QList<Message> messages;
    QList<QUrl> opened;
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
    void clickButton(const QString &name);
    void clickField(const QString &name);
    void typeInto(QWidget *widget, const QString &text);
    void replaceText(const QString &field, const QString &text);
    QString text(const QString &name) const; // a text box's or combo box's text

    RecordingDesktop desktop;
    std::unique_ptr<window::Form1> form;
    bool exposed = false;
};
