// The window by keyboard alone, as a user who never touches the mouse: every key goes to the control
// that has focus, as a real key does, and the keys a whole premium takes are counted.
#include "support/window_fixture.h"
#include "support/window_test_main.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString nameOf(const QWidget *widget)
{
    return widget ? widget->objectName() : u"<nothing>"_s;
}

QString focusName()
{
    return nameOf(QApplication::focusWidget());
}

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void wholePremiumAndReportByKeyboardAlone();
    void tabVisitsEachPageAsItReadsAndFocusAlwaysShows();

private:
    void openWindow(const QString &programFolder = u"/nonexistent/tarifmaster"_s);
    // Presses a key, with its modifiers, where focus is, times times; one press however many modifiers
    // it holds.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int times = 1);
    int currentPage() const;
    QWidget *page(int number) const;
    // From the tab row, Tab until focus is back on it: the page's controls on the way, in order.
    void walkPage(int number, QStringList *order);

    std::unique_ptr<WindowFixture> w;
    window::TabControl *m_tabs = nullptr;
    int m_presses = 0;
};

void KeyboardTest::init()
{
    m_presses = 0;
}

void KeyboardTest::cleanup()
{
    w.reset();
}

void KeyboardTest::press(Qt::Key key, Qt::KeyboardModifiers modifiers, int times)
{
    for (int i = 0; i < times; ++i) {
        QWidget *target = QApplication::focusWidget();
        QTest::keyClick(target ? target : w->form.get(), key, modifiers);
        ++m_presses;
    }
}

int KeyboardTest::currentPage() const
{
    return m_tabs->currentIndex() + 1;
}

QWidget *KeyboardTest::page(int number) const
{
    return m_tabs->page(number - 1);
}

void KeyboardTest::openWindow(const QString &programFolder)
{
    w = std::make_unique<WindowFixture>(programFolder);
    QVERIFY(w->exposed);
    QApplication::setActiveWindow(w->form.get()); // the page keys belong to the active window
    QVERIFY(QTest::qWaitForWindowActive(w->form.get()));
    m_tabs = w->get<window::TabControl>(u"SSTab1"_s);
    QCOMPARE(QApplication::focusWidget(), m_tabs->tabBar()); // where the window opens
}

// state: the window has just opened, focus on the tab row, tab "1".
// action: a car in Moscow by keyboard alone, step by step, then "ОК" and "отчет".
// expected: the premium the clicks give, the report on disk, and 28 presses. Without the page keys the
// same choices took 39: Shift+Tab back to the tab row and an arrow for every page.
void KeyboardTest::wholePremiumAndReportByKeyboardAlone()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    openWindow(dir.path());

    // Step 1: past "Прочитать" into the cars, their second entry.
    press(Qt::Key_Tab, {}, 2);
    QCOMPARE(focusName(), u"List1"_s);
    press(Qt::Key_Down, {}, 2);
    QCOMPARE(w->text(u"txtTb"_s), u"1980"_s);

    // Step 2: the next page opens on the vehicle kind; Moscow is the first list after it.
    press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(currentPage(), 2);
    QCOMPARE(focusName(), u"Option1"_s);
    press(Qt::Key_Tab);
    press(Qt::Key_Down);
    QCOMPARE(w->text(u"Text3"_s), u"2"_s);

    // Step 3 keeps class 3 of a first contract; its combo box lets Ctrl+Tab through.
    press(Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(currentPage(), 3);
    QCOMPARE(focusName(), u"Combo1"_s);

    // Steps 4 to 6: in a list with nothing chosen the first arrow picks the first entry.
    press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(focusName(), u"List10"_s);
    press(Qt::Key_Down);
    QCOMPARE(w->text(u"Text5"_s), u"1,3"_s);
    press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(focusName(), u"List11"_s);
    press(Qt::Key_Down);
    QCOMPARE(w->text(u"Text6"_s), u"1"_s);
    press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(focusName(), u"List12"_s);
    press(Qt::Key_Down, {}, 3);
    QCOMPARE(w->text(u"Text7"_s), u"1"_s);

    // Steps 7 to 9 keep six months, six months and no violations.
    for (int number = 7; number <= 10; ++number) {
        press(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(currentPage(), number);
    }
    QCOMPARE(focusName(), u"Option3"_s); // cars, chosen at start

    // "ОК" comes after the report choices and the total, as the page reads; Return presses it.
    press(Qt::Key_Tab, {}, 4);
    QCOMPARE(focusName(), u"Command2"_s);
    press(Qt::Key_Return);
    QCOMPARE(w->text(u"Text10"_s), u"2522,52"_s);
    press(Qt::Key_Backtab, Qt::ShiftModifier, 2);
    QCOMPARE(focusName(), u"Command7"_s);
    press(Qt::Key_Return);
    QCOMPARE(w->desktop.messages.size(), 1);
    QCOMPARE(w->desktop.messages.back().text, u"Cохраненно: "_s + dir.filePath(u"str.txt"_s));
    QVERIFY(QFile::exists(dir.filePath(u"str.txt"_s)));
    qInfo("A whole premium and its report by keyboard: %d key presses.", m_presses);
    QCOMPARE(m_presses, 28);

    // The page keys from a line edit and a link, wrapping round both ends; the tab row's own arrows.
    press(Qt::Key_Tab);
    QCOMPARE(focusName(), u"Text10"_s);
    press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(currentPage(), 1);
    QCOMPARE(focusName(), u"Command4"_s);
    press(Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(currentPage(), 10);
    press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(currentPage(), 9);
    QCOMPARE(focusName(), u"Combo4"_s);
    press(Qt::Key_Tab);
    QCOMPARE(focusName(), u"Label45"_s);
    press(Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(currentPage(), 10);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), m_tabs->tabBar());
    press(Qt::Key_Left);
    QCOMPARE(currentPage(), 9);
    QCOMPARE(QApplication::focusWidget(), m_tabs->tabBar());

    // Return and Space on the links and the picture buttons do what a click does.
    QCOMPARE(w->desktop.opened.size(), 0);
    press(Qt::Key_Backtab, Qt::ShiftModifier); // the tab row is preceded by the bottom strip
    QCOMPARE(focusName(), u"Label46"_s);
    press(Qt::Key_Space);
    QCOMPARE(w->desktop.opened.back().scheme(), u"mailto"_s);
    press(Qt::Key_Backtab, Qt::ShiftModifier, 2);
    QCOMPARE(focusName(), u"Command5"_s);
    press(Qt::Key_Return);
    QCOMPARE(w->desktop.opened.back().fileName(), u"primer.htm"_s);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    press(Qt::Key_Return);
    QCOMPARE(w->desktop.opened.back().toString(), w->get<QLabel>(u"Label45"_s)->text());
    QCOMPARE(w->desktop.opened.size(), 3);
    QVERIFY(w->form->isVisible());
}

void KeyboardTest::walkPage(int number, QStringList *order)
{
    QCOMPARE(currentPage(), number);
    QCOMPARE(QApplication::focusWidget(), m_tabs->tabBar());
    QStringList visited;
    QImage before = w->form->grab().toImage();
    for (int presses = 0; presses < 40; ++presses) {
        press(Qt::Key_Tab);
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        QVERIFY2(focus->isVisible() && focus->isEnabled(), qPrintable(nameOf(focus)));
        // The control that took focus looks different from a moment ago.
        const QImage after = w->form->grab().toImage();
        const qreal scale = after.devicePixelRatio();
        const QRect where(focus->mapTo(w->form.get(), QPoint()) * scale, focus->size() * scale);
        QVERIFY2(before.copy(where) != after.copy(where), qPrintable(nameOf(focus) + u" shows no focus"_s));
        before = after;
        if (focus == m_tabs->tabBar())
            break;
        visited << nameOf(focus);
    }
    QCOMPARE(QApplication::focusWidget(), m_tabs->tabBar());

    // The page's own controls, then the bottom strip.
    const QStringList strip = {"Label45", "Command5", "Command6", "Label46"};
    QVERIFY2(visited.size() > strip.size() && visited.sliced(visited.size() - strip.size()) == strip,
        qPrintable(visited.join(u' ')));
    *order = visited.first(visited.size() - strip.size());
    QStringList reachable;
    for (const QWidget *widget : page(number)->findChildren<QWidget *>())
        if ((widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && widget->isVisible()
            && widget->isEnabled() && !widget->focusProxy())
            reachable << widget->objectName();
    reachable.sort();
    QStringList sorted = *order;
    sorted.sort();
    QCOMPARE(sorted, reachable);
}

// state: each page in turn, opened from the tab row by its arrow key; step 3 once more, renewed.
// action: Tab from the tab row until focus is back on it.
// expected: every control of the page that can take focus, once, as the page reads, then the bottom
// strip; never a hidden control; the control that takes focus always shows it.
void KeyboardTest::tabVisitsEachPageAsItReadsAndFocusAlwaysShows()
{
    openWindow();
    for (int number = 1; number <= 10; ++number) {
        QStringList order;
        walkPage(number, &order);
        if (QTest::currentTestFailed())
            return;
        if (number == 2) // the vehicle kind, the lists as they stand, the town search before its towns
            QCOMPARE(order,
                (QStringList{"Option1", "List6", "List7", "List8", "Text2", "List5", "List9", "Text3"}));
        press(Qt::Key_Right);
    }

    // A renewed contract shows the payouts and the class at the end of the term.
    press(Qt::Key_Tab, Qt::ControlModifier, 3);
    QCOMPARE(currentPage(), 3);
    QCOMPARE(focusName(), u"Combo1"_s);
    press(Qt::Key_Tab);
    QCOMPARE(focusName(), u"Option10"_s);
    press(Qt::Key_Down);
    QVERIFY(w->get<QRadioButton>(u"Option11"_s)->isChecked());
    press(Qt::Key_Backtab, Qt::ShiftModifier, 2);
    QStringList order;
    walkPage(3, &order);
    QCOMPARE(order, (QStringList{"Combo1", "Option11", "Combo5", "Text13", "Text4", "Command1"}));
}

TARIFMASTER_WINDOW_TEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
