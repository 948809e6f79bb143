// The window's own control kinds: thin Qt widgets that raise the events the handlers of Form1 expect.
//
//   ListBox      Click when the user chooses an entry: left mouse button, arrows, Home/End, type-ahead,
//                a screen reader's selection, and also a click on the entry that is already chosen (it
//                is applied again). The right and middle buttons choose nothing.
//   ComboBox     editable drop-down; Click once when an entry is chosen from the list (mouse or keyboard),
//                never while the user types, also not when typed text equal to an entry is confirmed or
//                loses focus.
//   TextBox      a line edit that reports mouse clicks (Click) besides its changes.
//   SingleLineValidator keeps what the user types, pastes or drops into a text box or a combo box's edit
//                field to one line without control characters.
//   LinkLabel    a label that reports a click anywhere in its rectangle, and Return or Space while it
//                has focus.
//   OptionButton an option button whose caption wraps.
//   CommandButton a push button that Return presses as well as Space.
//   PictureButton a command button that shows a picture, centred and clipped to the button.
//   TabControl   ten equal tabs in one row over pages that share the control's own coordinates, tab row
//                included, so that a control at 24 px from the top stands just below the tab row.
//                Ctrl+Tab and Ctrl+PgDown open the next page from anywhere in the window, Ctrl+Shift+Tab
//                and Ctrl+PgUp the previous one, and focus goes to the first control of that page.
//
// Where focus is shows on every control that takes it; the list box and the links draw the classic
// dotted focus rectangle themselves (drawFocusMark).
#pragma once

#include "form/inventory.h"

#include <QColor>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QValidator>
#include <QWidget>

#include <vector>

class QPainter;

namespace window {

// The part of an inserted text that a single-line field keeps: its first line, without the control
// characters (tabs, NULs, ...) that the rest of it may hold.
QString singleLine(QStringView inserted);

// A single-line field holds a single line: whatever the user inserts (typing, pasting from the clipboard
// or the selection, dropping, an input method) is cut to its first line and stripped of control
// characters; the text around the insertion is kept as it was. Texts set by the program pass unchecked.
class SingleLineValidator : public QValidator {
    Q_OBJECT
public:
    explicit SingleLineValidator(QLineEdit *field);
    State validate(QString &input, int &pos) const override;

private:
    QString m_before; // the field's text before the change being validated
};

// The classic focus rectangle: a dotted line of one pixel just inside rect.
void drawFocusMark(QPainter &painter, const QRect &rect, const QColor &colour);

class ListBox : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kRowHeight = form::kListRowTwips / form::kTwipsPerPixel;

    explicit ListBox(QWidget *parent = nullptr);

signals:
    void Click();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

// An option button whose caption wraps within its rectangle, as long captions here need; a click
// anywhere in the rectangle selects it.
class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    explicit OptionButton(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;
};

class ComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ComboBox(QWidget *parent = nullptr);

    // The drop-down list, carrying the box's spoken name. Qt builds the list when it is first asked
    // for, which costs more than the rest of the box: so it is built when it opens or when a screen
    // reader asks for it, not with the window.
    QAbstractItemView *namedView() const;
    void showPopup() override;

signals:
    void Click();

protected:
    void wheelEvent(QWheelEvent *event) override;

private:
    class TypingEdit;
    friend class TypingEdit;
    bool m_typing = false; // true while the edit field confirms or drops typed text
};

class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget *parent = nullptr);

signals:
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(QWidget *parent = nullptr);

    // Does what a click does; for the keyboard and for screen readers.
    void activate();

signals:
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

class CommandButton : public QPushButton {
    Q_OBJECT
public:
    explicit CommandButton(const QString &caption = QString(), QWidget *parent = nullptr);
};

class PictureButton : public CommandButton {
    Q_OBJECT
public:
    explicit PictureButton(QWidget *parent = nullptr);
    void setPicture(const QPixmap &picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
};

class TabControl : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTabRowHeight = 23;

    TabControl(const QStringList &captions, QWidget *parent = nullptr);

    QWidget *page(int index) const;
    int pageCount() const;
    int currentIndex() const;
    void setCurrentIndex(int index);
    QTabBar *tabBar() const;
    // What a screen reader says for a tab and its page; the tab shows it as its tooltip too.
    void setSpokenName(int index, const QString &name);
    // The control of a page that Tab reaches first: it can take focus by Tab and is shown and enabled.
    QWidget *firstControl(int index) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    class EqualTabBar;
    void showPage(int index);
    void stepPage(int step); // +1 the next page, -1 the previous one, wrapping around

    QTabBar *m_bar;
    std::vector<QWidget *> m_pages;
};

} // namespace window
