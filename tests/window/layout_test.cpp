// The window as the eye sees it: every control where its twips rectangle puts it, captions that fit
// their rectangles in the fonts actually installed, and a spoken name for everything one can operate.
#include "form/inventory.h"
#include "support/window_fixture.h"
#include "support/window_test_main.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <map>

using namespace Qt::StringLiterals;

using form::ControlRow;
using form::Kind;

namespace {

QString name(const ControlRow &row)
{
    return fromUtf8(row.name);
}

// Where a row's container puts its origin, in pixels of the window's client area.
QPoint containerOrigin(std::string_view container)
{
    if (container == "Form1" || form::tabPage(container))
        return {}; // the window, or a page of the tab control, which sits at the window's origin
    for (const ControlRow &row : form::controlRows())
        if (row.name == container)
            return containerOrigin(row.container)
                + QPoint(row.left / form::kTwipsPerPixel, row.top / form::kTwipsPerPixel);
    return {-1000, -1000};
}

} // namespace

class LayoutTest : public WindowSuite {
    Q_OBJECT

private slots:
    void windowIsFixedAndHasOnlyItsControls();
    void everyControlStandsAtItsTwipsRectangle();
    void tabsAreTenEqualTabsInOneLowRow();
    void captionsUseTheChosenFontsAndFitTheirRectangles();
    void everyInteractiveControlHasASpokenName();
};

void LayoutTest::windowIsFixedAndHasOnlyItsControls()
{
    QCOMPARE(w->form->size(), QSize(8820 / 15, 6585 / 15));
    QCOMPARE(w->form->minimumSize(), w->form->maximumSize());
    QCOMPARE(w->form->windowTitle(), u"ТарифМастер"_s);
    QVERIFY(QApplication::applicationDisplayName() == QApplication::applicationName());
    QVERIFY(!w->form->findChild<QMenuBar *>());
    QVERIFY(!w->form->findChild<QToolBar *>());
    QVERIFY(!w->form->findChild<QStatusBar *>());
    QVERIFY(!w->form->windowIcon().isNull());
}

void LayoutTest::everyControlStandsAtItsTwipsRectangle()
{
    int checked = 0;
    for (const ControlRow &row : form::controlRows()) {
        QWidget *widget = w->get<QWidget>(name(row));
        QVERIFY2(widget, qPrintable(name(row)));
        const QPoint expected = containerOrigin(row.container)
            + QPoint(row.left / form::kTwipsPerPixel, row.top / form::kTwipsPerPixel);
        const QPoint actual = widget->mapTo(w->form.get(), QPoint());
        const QString where = u"%1 at %2,%3 size %4x%5, expected %6,%7 size %8x%9"_s.arg(name(row))
                                  .arg(actual.x())
                                  .arg(actual.y())
                                  .arg(widget->width())
                                  .arg(widget->height())
                                  .arg(expected.x())
                                  .arg(expected.y())
                                  .arg(row.width / 15)
                                  .arg(row.height / 15);
        QVERIFY2(std::abs(actual.x() - expected.x()) <= 1 && std::abs(actual.y() - expected.y()) <= 1,
            qPrintable(where));
        QVERIFY2(std::abs(widget->width() - row.width / 15) <= 1
                && std::abs(widget->height() - row.height / 15) <= 1,
            qPrintable(where));
        ++checked;
    }
    QVERIFY(checked > 100);
    // Lists show exactly the rows their height was made for.
    const std::pair<const char *, int> rows[]
        = {{"List1", 4}, {"List2", 9}, {"List3", 1}, {"List8", 2}, {"List12", 7}};
    for (const auto &[list, count] : rows) {
        auto *box = w->get<window::ListBox>(QLatin1String(list));
        w->openPageOf(box); // a page lays out its lists when first shown
        QVERIFY2(box->viewport()->height() == count * window::ListBox::kRowHeight,
            qPrintable(u"%1: %2 rows in %3 px"_s.arg(QLatin1String(list))
                           .arg(count)
                           .arg(box->viewport()->height())));
    }
}

void LayoutTest::tabsAreTenEqualTabsInOneLowRow()
{
    auto *tabs = w->get<window::TabControl>(u"SSTab1"_s);
    QTabBar *bar = tabs->tabBar();
    QCOMPARE(bar->count(), 10);
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(bar->tabText(i), QString::number(i + 1));
        const QRect tab = bar->tabRect(i);
        QVERIFY2(tab.height() <= 24, "the tab row hides a control at 24 px from the top");
        QCOMPARE(tab.top(), bar->tabRect(0).top());
        QVERIFY(std::abs(tab.width() - tabs->width() / 10) <= 1);
    }
    // A marker label at Top 360 stands just below the tab row.
    QVERIFY(w->get<QWidget>(u"Label1"_s)->mapTo(tabs, QPoint()).y() >= bar->geometry().bottom());
}

void LayoutTest::captionsUseTheChosenFontsAndFitTheirRectangles()
{
    for (const ControlRow &row : form::controlRows()) {
        QWidget *widget = w->get<QWidget>(name(row));
        const QString caption = fromUtf8(row.caption);
        if (caption.isEmpty() || row.top >= 6585)
            continue; // the badge characters below the visible area are never seen
        const QString family = QFontInfo(widget->font()).family();
        QVERIFY2(family == QLatin1String("Liberation Sans"), qPrintable(name(row) + u' ' + family));

        const QFontMetrics metrics(widget->font());
        QSize needed;
        QSize available = widget->size();
        if (const auto *label = qobject_cast<QLabel *>(widget); label && label->wordWrap()) {
            needed = {0, label->heightForWidth(widget->width())};
        } else if (qobject_cast<QAbstractButton *>(widget) && row.kind != Kind::Command) {
            available.rwidth() -= 20; // the check mark or the option circle
            needed = metrics.boundingRect(QRect(0, 0, available.width(), 1000), Qt::TextWordWrap, caption)
                         .size();
        } else {
            needed = metrics.boundingRect(caption).size();
            if (row.kind == Kind::Command)
                available.rwidth() -= 8;
        }
        // One pixel of leeway: the descenders of a last line may touch the edge.
        QVERIFY2(needed.width() <= available.width() && needed.height() <= available.height() + 1,
            qPrintable(u"%1 needs %2x%3 in %4x%5"_s.arg(name(row))
                           .arg(needed.width())
                           .arg(needed.height())
                           .arg(available.width())
                           .arg(available.height())));
    }
}

void LayoutTest::everyInteractiveControlHasASpokenName()
{
    for (const ControlRow &row : form::controlRows()) {
        if (row.kind == Kind::Label || row.kind == Kind::Frame || row.kind == Kind::Image
            || (row.looks & form::look::kHidden))
            continue;
        if (row.name == "Text11" || row.name == "Text12")
            continue;
        QVERIFY2(!w->get<QWidget>(name(row))->accessibleName().isEmpty(), qPrintable(name(row)));
    }
    const std::pair<const char *, const char *> spoken[] = {
        {"Text4", "Коэффициент (КБМ)"},
        {"Text7", "Коэффициент (Км)"},
        {"txtTb", "Базовая ставка страхового тарифа (ТБ) в рублях"},
        {"List1", "Легковые автомобили:"},
        {"Combo2", "Период использования транспортного средства"},
        {"Command5", "Пример"},
        {"Command6", "Выход"},
        {"Text13",
            "Класс по окончании срока страхования с учетом наличия страховых случаев по вине страхователя"},
    };
    for (const auto &[control, text] : spoken)
        QCOMPARE(w->get<QWidget>(QLatin1String(control))->accessibleName(), QString::fromUtf8(text));
}

TARIFMASTER_WINDOW_TEST_MAIN(LayoutTest)
#include "layout_test.moc"
