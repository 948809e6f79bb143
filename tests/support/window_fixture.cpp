#include "support/window_fixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

void RecordingDesktop::inform(QWidget *, const QString &text)
{
    messages.append({false, text});
}

void RecordingDesktop::warn(QWidget *, const QString &text)
{
    messages.append({true, text});
}

bool RecordingDesktop::ask(QWidget *, const QString &text)
{
    messages.append({false, text});
    return false;
}

QString RecordingDesktop::chooseFile(QWidget *, const window::FileChoice &choice)
{
    dialogs.append(choice);
    return fileToChoose;
}

bool RecordingDesktop::open(const QUrl &target)
{
    opened.append(target);
    return openSucceeds;
}

bool RecordingDesktop::showInFolder(const QString &file)
{
    shownInFolder.append(file);
    return true;
}

WindowFixture::WindowFixture(const QString &programFolder)
    : form(std::make_unique<window::MainWindow>(desktop, programFolder))
{
    form->show();
    exposed = QTest::qWaitForWindowExposed(form.get());
}

WindowFixture::~WindowFixture() = default;

void WindowFixture::openPageOf(QWidget *widget)
{
    auto *tabs = get<window::TabControl>(QStringLiteral("SSTab1"));
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        for (int i = 0; i < tabs->pageCount(); ++i) {
            if (tabs->page(i) == w) {
                QTabBar *bar = tabs->tabBar();
                QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
                return;
            }
        }
    }
}

bool WindowFixture::clickRow(const QString &listName, const QString &entry)
{
    auto *list = get<window::ListBox>(listName);
    if (!list)
        return false;
    const auto items = list->findItems(entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (items.size() != 1)
        return false;
    openPageOf(list);
    list->scrollToItem(items.front());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.front()).center());
    return true;
}

bool WindowFixture::chooseFromDropDown(const QString &comboName, const QString &entry)
{
    auto *combo = get<window::ComboBox>(comboName);
    if (!combo)
        return false;
    const int index = combo->findText(entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    openPageOf(combo);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down, Qt::AltModifier); // opens the list
    QAbstractItemView *view = combo->view();
    if (!view->isVisible())
        return false;
    view->setCurrentIndex(combo->model()->index(index, 0)); // as the arrow keys move through it
    QTest::keyClick(view, Qt::Key_Return);
    return !view->isVisible();
}

bool WindowFixture::clickButton(const QString &name)
{
    auto *button = get<QAbstractButton>(name);
    if (!button)
        return false;
    openPageOf(button);
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

void WindowFixture::clickField(const QString &name)
{
    auto *field = get<QLineEdit>(name);
    openPageOf(field);
    QTest::mouseClick(field, Qt::LeftButton);
}

void WindowFixture::typeInto(QWidget *widget, const QString &text)
{
    openPageOf(widget);
    widget->setFocus();
    // QTest::keyClicks cannot type Cyrillic; every character goes as a key event carrying its text.
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

void WindowFixture::replaceText(const QString &name, const QString &text)
{
    QWidget *widget = get<QWidget>(name);
    openPageOf(widget);
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(widget, Qt::Key_Delete);
    typeInto(widget, text);
}

QString WindowFixture::text(const QString &name) const
{
    if (const auto *combo = get<QComboBox>(name))
        return combo->currentText();
    if (const auto *field = get<QLineEdit>(name))
        return field->text();
    return QStringLiteral("<no field %1>").arg(name);
}

QString WindowFixture::play(const QStringList &moves)
{
    for (const QString &move : moves) {
        qsizetype at = 0;
        while (at < move.size() && move[at] != u':' && move[at] != u'=' && move[at] != u'?')
            ++at;
        const QString name = move.left(at);
        const QString value = move.mid(at + 1);
        const QChar how = at < move.size() ? move[at] : u'#';
        bool made = true;
        if (move.startsWith(u'#') && get<QLineEdit>(move.mid(1)))
            clickField(move.mid(1));
        else if (move.startsWith(u'#'))
            made = clickButton(move.mid(1));
        else if (how == u':')
            made = name.startsWith(u"Combo") ? chooseFromDropDown(name, value) : clickRow(name, value);
        else if (how == u'=' && get<QWidget>(name))
            replaceText(name, value);
        else if (how == u'?' && text(name) != value)
            return QStringLiteral("%1 (shows \"%2\")").arg(move, text(name));
        else if (how != u'?')
            made = false;
        if (!made)
            return move + QStringLiteral(" (cannot be made)");
    }
    return {};
}

void WindowSuite::init()
{
    w = std::make_unique<WindowFixture>();
    QVERIFY(w->exposed);
}

void WindowSuite::cleanup()
{
    w.reset();
}
