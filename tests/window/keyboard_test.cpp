// The window by keyboard alone, as a user who never touches the mouse: every key goes to the control
// that has focus, as a real key does, and the keys a whole premium takes are counted.
#include "support/window_fixture.h"
#include "support/window_test_main.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString nameOf(const QWidget *widget)
{
    return widget ? widget->objectName() : QStringLiteral("<nothing>");
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
    void openWindow(const QString &programFolder = QStringLiteral("/nonexistent/tarifmaster"));
    // Presses a key, with its modifiers, where focus is; one press however many modifiers it holds.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
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

void KeyboardTest::press(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget *target = QApplication::focusWidget();
    QTest::keyClick(target ? target : w->form.get(), key, modifiers);
    ++m_presses;
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
    m_tabs = w->get<window::TabControl>(QStringLiteral("SSTab1"));
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
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    QCOMPARE(focusName(), QStringLiteral("List1"));
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    QCOMPARE(w->text(QStringLiteral("txtTb")), QStringLiteral("1980"));

    // Step 2: the next page opens on the vehicle kind; Moscow is the first list after it.
    press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(currentPage(), 2);
    QCOMPARE(focusName(), QStringLiteral("Option1"));
    press(Qt::Key_Tab);
    press(Qt::Key_Down);
    QCOMPARE(w->text(QStringLiteral("Text3")), QStringLiteral("2"));

    // Step 3 keeps class 3 of a first contract; its combo box lets Ctrl+Tab through.
    press(Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(currentPage(), 3);
    QCOMPARE(focusName(), QStringLiteral("Combo1"));

    // Steps 4 to 6: in a list with nothing chosen the first arrow picks the first entry.
    press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(focusName(), QStringLiteral("List10"));
    press(Qt::Key_Down);
    QCOMPARE(w->text(QStringLiteral("Text5")), QStringLiteral("1,3"));
    press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(focusName(), QStringLiteral("List11"));
    press(Qt::Key_Down);
    QCOMPARE(w->text(QStringLiteral("Text6")), QStringLiteral("1"));
    press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(focusName(), QStringLiteral("List12"));
    for (int i = 0; i < 3; ++i)
        press(Qt::Key_Down);
    QCOMPARE(w->text(QStringLiteral("Text7")), QStringLiteral("1"));

    // Steps 7 to 9 keep six months, six months and no violations.
    for (int number = 7; number <= 10; ++number) {
        press(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(currentPage(), number);
    }
    QCOMPARE(focusName(), QStringLiteral("Option3")); // cars, chosen at start

    // "ОК" comes after the report choices and the total, as the page reads; Return presses it.
    for (int i = 0; i < 4; ++i)
        press(Qt::Key_Tab);
    QCOMPARE(focusName(), QStringLiteral("Command2"));
    press(Qt::Key_Return);
    QCOMPARE(w->text(QStringLiteral("Text10")), QStringLiteral("2522,52"));
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(focusName(), QStringLiteral("Command7"));
    press(Qt::Key_Return);
    QCOMPARE(w->desktop.messages.size(), 1);
    QCOMPARE(w->desktop.messages.back().text,
        QStringLiteral("Cохраненно: ") + dir.filePath(QStringLiteral("str.txt")));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("str.txt"))));
    qInfo("A whole premium and its report by keyboard: %d key presses.", m_presses);
    QCOMPARE(m_presses, 28);

    // The page keys from a line edit and a link, wrapping round both ends; the tab row's own arrows.
    press(Qt::Key_Tab);
    QCOMPARE(focusName(), QStringLiteral("Text10"));
    press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(currentPage(), 1);
    QCOMPARE(focusName(), QStringLiteral("Command4"));
    press(Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(currentPage(), 10);
    press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(currentPage(), 9);
    QCOMPARE(focusName(), QStringLiteral("Combo4"));
    press(Qt::Key_Tab);
    QCOMPARE(focusName(), QStringLiteral("Label45"));
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
    QCOMPARE(focusName(), QStringLiteral("Label46"));
    press(Qt::Key_Space);
    QCOMPARE(w->desktop.opened.back().scheme(), QStringLiteral("mailto"));
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(focusName(), QStringLiteral("Command5"));
    press(Qt::Key_Return);
    QCOMPARE(w->desktop.opened.back().fileName(), QStringLiteral("primer.htm"));
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    press(Qt::Key_Return);
    QCOMPARE(w->desktop.opened.back().toString(), w->get<QLabel>(QStringLiteral("Label45"))->text());
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
        QVERIFY2(before.copy(where) != after.copy(where),
            qPrintable(nameOf(focus) + QStringLiteral(" shows no focus")));
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
    for (int i = 0; i < 3; ++i)
        press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(currentPage(), 3);
    QCOMPARE(focusName(), QStringLiteral("Combo1"));
    press(Qt::Key_Tab);
    QCOMPARE(focusName(), QStringLiteral("Option10"));
    press(Qt::Key_Down);
    QVERIFY(w->get<QRadioButton>(QStringLiteral("Option11"))->isChecked());
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    QStringList order;
    walkPage(3, &order);
    QCOMPARE(order, (QStringList{"Combo1", "Option11", "Combo5", "Text13", "Text4", "Command1"}));
}

TARIFMASTER_WINDOW_TEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
