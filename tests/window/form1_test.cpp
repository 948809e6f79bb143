// Drives the window as a user does: clicks on rows, tabs and buttons, choices from drop-down lists,
// typing. Nothing here opens a real message box or launches a program: the window gets a recording
// desktop, and the shared test main traps stray URLs and fails a test that opens a modal window.
#include "window_fixture.h"
#include "window_test_main.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kZeroWarning = QStringLiteral("Не установлен один из коэффициентов шаг(ов) с 1 по 9");

QStringList entries(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

} // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsWithTheValuesOfAnUntouchedTariff();
    void baseRateRowsAndFieldShortcuts();
    void listEntriesRespondToKeyboardAndTheLeftButtonOnly();
    void townSearchFillsTheResultList();
    void territoryDependsOnTheVehicleKindAtTheTimeOfChoice();
    void bonusMalusFirstAndRenewedContract();
    void comboBoxesActOnlyOnAChoiceFromTheirList();
    void optionHandlerDoesNotRunForAnAlreadySelectedButton();
    void stepsFourToNineWriteTheirFields();
    void premiumExamplesByClicks_data();
    void premiumExamplesByClicks();
    void totalIsASnapshotUntilTheNextOk();
    void zeroTotalWarnsAndEmptiesTheField();
    void unusableFactorShowsOneMessageAndLeavesNoTotal();
    void fieldsKeepOneLineOfWhatIsPastedOrTyped();
    void reportsAreWrittenByClicksThenConfirmed();
    void failedReportWarnsAndKeepsEverything();
    void helpButtonsAndLinksHandOverTheirTargets();
    void missingHelpPageChangesNothing();
    void exitButtonClosesTheWindow();

private:
    std::unique_ptr<WindowFixture> w;
};

void Form1Test::init()
{
    w = std::make_unique<WindowFixture>();
    QVERIFY(w->exposed);
}

void Form1Test::cleanup()
{
    w.reset();
}

void Form1Test::startsWithTheValuesOfAnUntouchedTariff()
{
    const std::pair<const char *, const char *> fields[] = {
        {"txtTb", "0"},
        {"Text1", "0"},
        {"Text3", "0"},
        {"Text4", "1"},
        {"Text5", "0"},
        {"Text6", "0"},
        {"Text7", "0"},
        {"Text8", "0,7"},
        {"Text9", "0,7"},
        {"Combo4", "1"},
        {"Text10", ""},
        {"Text13", ""},
        {"Text2", ""},
        {"Combo1", "3"},
        {"Combo2", "6 месяцев"},
        {"Combo3", "6 месяцев"},
        {"Combo5", ""},
    };
    for (const auto &[name, value] : fields)
        QCOMPARE(w->text(QLatin1String(name)), QString::fromUtf8(value));

    for (const char *name : {"Option1", "Option3", "Option8", "Option10"})
        QVERIFY2(w->get<QRadioButton>(QLatin1String(name))->isChecked(), name);
    for (const char *name : {"Option2", "Option4", "Option5", "Option6", "Option7", "Option9", "Option11"})
        QVERIFY2(!w->get<QRadioButton>(QLatin1String(name))->isChecked(), name);
    QVERIFY(!w->get<QCheckBox>(QStringLiteral("Check1"))->isChecked());

    for (const char *name : {"Combo5", "Text13", "Label49", "Label50", "List4", "Text11", "Text12"})
        QVERIFY2(w->get<QWidget>(QLatin1String(name))->isHidden(), name);
    QVERIFY(!w->get<QLineEdit>(QStringLiteral("Text11"))->text().isEmpty());
    QVERIFY(!w->get<QLineEdit>(QStringLiteral("Text12"))->text().isEmpty());

    const std::pair<const char *, int> counts[] = {{"List1", 4},
        {"List2", 9},
        {"List3", 1},
        {"List4", 294},
        {"List5", 0},
        {"List6", 1},
        {"List7", 39},
        {"List8", 2},
        {"List9", 2},
        {"List10", 4},
        {"List11", 4},
        {"List12", 7}};
    for (const auto &[name, count] : counts) {
        const auto *list = w->get<QListWidget>(QLatin1String(name));
        QCOMPARE(list->count(), count);
        QVERIFY2(list->selectedItems().isEmpty(), name);
    }
    QCOMPARE(w->get<window::ComboBox>(QStringLiteral("Combo1"))->count(), 15);
    QCOMPARE(w->get<window::ComboBox>(QStringLiteral("Combo5"))->count(), 5);
    QCOMPARE(w->get<window::TabControl>(QStringLiteral("SSTab1"))->currentIndex(), 0);
    QCOMPARE(w->form->windowTitle(), QStringLiteral("ТарифМастер"));
    QVERIFY(w->desktop.messages.isEmpty());
}

void Form1Test::baseRateRowsAndFieldShortcuts()
{
    QVERIFY(w->clickRow(QStringLiteral("List1"), QStringLiteral("физических лиц")));
    QCOMPARE(w->text(QStringLiteral("txtTb")), QStringLiteral("1980"));
    QCOMPARE(w->text(QStringLiteral("Text1")), QStringLiteral("0,495"));

    QVERIFY(w->clickRow(QStringLiteral("List2"), QStringLiteral("трамваи")));
    QCOMPARE(w->text(QStringLiteral("txtTb")), QStringLiteral("1010"));
    QCOMPARE(w->text(QStringLiteral("Text1")), QStringLiteral("0,2525"));
    // A pick in one list leaves the highlighted row of another.
    QCOMPARE(w->get<QListWidget>(QStringLiteral("List1"))->currentItem()->text(),
        QStringLiteral("физических лиц"));

    QVERIFY(w->clickRow(QStringLiteral("List1"), QStringLiteral("юридических лиц")));
    w->clickField(QStringLiteral("Text3"));
    QCOMPARE(w->text(QStringLiteral("txtTb")), QStringLiteral("395"));
    QCOMPARE(w->text(QStringLiteral("Text1")), QStringLiteral("0,59375"));
    QCOMPARE(w->text(QStringLiteral("Text3")), QStringLiteral("0"));

    const std::pair<const char *, const char *> shortcuts[]
        = {{"Text1", "2375"}, {"Text2", "1980"}, {"Text3", "395"}, {"Text4", "2965"}};
    for (const auto &[field, rate] : shortcuts) {
        w->clickField(QLatin1String(field));
        QCOMPARE(w->text(QStringLiteral("txtTb")), QLatin1String(rate));
    }
    // Picking the taxi row does not pick the category.
    QVERIFY(w->clickRow(QStringLiteral("List1"), QStringLiteral("такси (в том числе маршрутные)")));
    QVERIFY(w->get<QRadioButton>(QStringLiteral("Option3"))->isChecked());
    QVERIFY(!w->get<QRadioButton>(QStringLiteral("Option4"))->isChecked());
}

void Form1Test::listEntriesRespondToKeyboardAndTheLeftButtonOnly()
{
    auto *list = w->get<QListWidget>(QStringLiteral("List2"));
    w->openPageOf(list);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down); // the first entry
    QCOMPARE(w->text(QStringLiteral("txtTb")), QStringLiteral("2025"));
    QTest::keyClick(list, Qt::Key_End);
    QCOMPARE(w->text(QStringLiteral("txtTb")), QStringLiteral("305"));
    QTest::keyClick(list, Qt::Key_Home);
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(w->text(QStringLiteral("Text1")), QStringLiteral("0,81"));
    // Type-ahead: "т" jumps to "троллейбусы".
    QTest::sendKeyEvent(QTest::Click, list, Qt::Key_unknown, QStringLiteral("т"), Qt::NoModifier);
    QCOMPARE(w->text(QStringLiteral("txtTb")), QStringLiteral("1620"));

    // A click on the entry already chosen applies it again, once.
    auto *moto = w->get<window::ListBox>(QStringLiteral("List3"));
    QSignalSpy clicks(moto, &window::ListBox::Click);
    QVERIFY(w->clickRow(QStringLiteral("List3"), QStringLiteral("мотоциклы и мотороллеры")));
    QCOMPARE(clicks.count(), 1);
    w->clickField(QStringLiteral("Text4"));
    QCOMPARE(w->text(QStringLiteral("txtTb")), QStringLiteral("2965"));
    QVERIFY(w->clickRow(QStringLiteral("List3"), QStringLiteral("мотоциклы и мотороллеры")));
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(w->text(QStringLiteral("txtTb")), QStringLiteral("1215"));

    // The right and middle buttons choose no entry and apply none, not even the one already chosen.
    auto *cars = w->get<window::ListBox>(QStringLiteral("List1"));
    QSignalSpy carClicks(cars, &window::ListBox::Click);
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        for (const auto &[box, row] : {std::pair{cars, 1}, std::pair{moto, 0}}) {
            const QPoint centre = box->visualItemRect(box->item(row)).center();
            QTest::mouseClick(box->viewport(), button, {}, centre);
            QTest::mouseDClick(box->viewport(), button, {}, centre);
        }
    }
    QVERIFY(cars->selectedItems().isEmpty());
    QCOMPARE(carClicks.count(), 0);
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(w->text(QStringLiteral("txtTb")), QStringLiteral("1215"));
}

void Form1Test::townSearchFillsTheResultList()
{
    auto *search = w->get<QLineEdit>(QStringLiteral("Text2"));
    auto *found = w->get<QListWidget>(QStringLiteral("List5"));
    QCOMPARE(found->height(), 450 / 15);

    w->typeInto(search, QStringLiteral("ново"));
    QCOMPARE(entries(found),
        (QStringList{"Новокузнецк",
            "Новосибирск",
            "Новоалтайск",
            "Новокуйбышевск",
            "Новомосковск",
            "Новороссийск",
            "Новотроицк",
            "Новоуральск",
            "Новочебоксарск",
            "Новочеркасск",
            "Новошахтинск"}));
    QCOMPARE(found->height(), 1230 / 15);
    QVERIFY(found->selectedItems().isEmpty());
    QCOMPARE(w->text(QStringLiteral("Text3")), QStringLiteral("0")); // the search itself sets no factor

    w->replaceText(QStringLiteral("Text2"), QStringLiteral("ОМСК"));
    QCOMPARE(entries(found), QStringList{"Омск"});
    w->typeInto(search, QStringLiteral("и"));
    QVERIFY(entries(found).isEmpty());
    w->replaceText(QStringLiteral("Text2"), QStringLiteral("город"));
    QVERIFY(entries(found).isEmpty());
    w->replaceText(QStringLiteral("Text2"), QStringLiteral("губ"));
    QCOMPARE(entries(found), QStringList{"Губкин, Гуково"});

    // Choosing, then searching again: the list is rebuilt, the factor chosen stays.
    QVERIFY(w->clickRow(QStringLiteral("List5"), QStringLiteral("Губкин, Гуково")));
    QCOMPARE(w->text(QStringLiteral("Text3")), QStringLiteral("1"));
    w->replaceText(QStringLiteral("Text2"), QStringLiteral("омск"));
    QCOMPARE(entries(found), QStringList{"Омск"});
    QCOMPARE(w->text(QStringLiteral("Text3")), QStringLiteral("1"));

    // Deleting the text empties the list, which keeps its grown height.
    search->setFocus();
    QTest::keyClick(search, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(search, Qt::Key_Backspace);
    QVERIFY(entries(found).isEmpty());
    QCOMPARE(found->height(), 1230 / 15);
}

void Form1Test::territoryDependsOnTheVehicleKindAtTheTimeOfChoice()
{
    const auto kt = [this] {
        return w->text(QStringLiteral("Text3"));
    };
    QVERIFY(w->clickRow(QStringLiteral("List7"), QStringLiteral("Ленинский")));
    QCOMPARE(kt(), QStringLiteral("1,8"));
    QVERIFY(w->clickRow(QStringLiteral("List7"), QStringLiteral("Клинский")));
    QCOMPARE(kt(), QStringLiteral("1,6"));
    QVERIFY(w->clickRow(QStringLiteral("List8"), QStringLiteral("Санкт-Петербург")));
    QCOMPARE(kt(), QStringLiteral("1,8"));
    QVERIFY(w->clickRow(QStringLiteral("List9"), QStringLiteral("прочие населенные пункты")));
    QCOMPARE(kt(), QStringLiteral("0,4"));
    QVERIFY(w->clickRow(QStringLiteral("List6"), QStringLiteral("Москва")));
    QCOMPARE(kt(), QStringLiteral("2"));

    // The switch empties KT; Moscow stays highlighted and can be chosen again.
    w->clickButton(QStringLiteral("Option2"));
    QCOMPARE(kt(), QString());
    QCOMPARE(w->get<QListWidget>(QStringLiteral("List6"))->currentItem()->text(), QStringLiteral("Москва"));
    QVERIFY(w->clickRow(QStringLiteral("List6"), QStringLiteral("Москва")));
    QCOMPARE(kt(), QStringLiteral("1,2"));
    QVERIFY(w->clickRow(QStringLiteral("List7"), QStringLiteral("Ленинский")));
    QCOMPARE(kt(), QStringLiteral("1"));
    QVERIFY(w->clickRow(QStringLiteral("List9"), QStringLiteral("прочие населенные пункты")));
    QCOMPARE(kt(), QStringLiteral("0,4"));
    w->typeInto(w->get<QLineEdit>(QStringLiteral("Text2")), QStringLiteral("Омск"));
    QVERIFY(w->clickRow(QStringLiteral("List5"), QStringLiteral("Омск")));
    QCOMPARE(kt(), QStringLiteral("0,8"));
    w->clickButton(QStringLiteral("Option1"));
    QVERIFY(w->clickRow(QStringLiteral("List5"), QStringLiteral("Омск")));
    QCOMPARE(kt(), QStringLiteral("1,3"));
    w->replaceText(QStringLiteral("Text2"), QStringLiteral("Абакан"));
    QVERIFY(w->clickRow(QStringLiteral("List5"), QStringLiteral("Абакан")));
    QCOMPARE(kt(), QStringLiteral("1"));
}

void Form1Test::bonusMalusFirstAndRenewedContract()
{
    const auto kbm = [this] {
        return w->text(QStringLiteral("Text4"));
    };
    QVERIFY(w->chooseFromDropDown(QStringLiteral("Combo1"), QStringLiteral("13")));
    QCOMPARE(kbm(), QStringLiteral("0,5"));

    w->clickButton(QStringLiteral("Option11"));
    for (const char *name : {"Combo5", "Text13", "Label49", "Label50"})
        QVERIFY2(w->get<QWidget>(QLatin1String(name))->isVisible(), name);
    QCOMPARE(w->text(QStringLiteral("Text13")), QString());
    QCOMPARE(kbm(), QStringLiteral("0,5"));

    QVERIFY(w->chooseFromDropDown(QStringLiteral("Combo5"), QStringLiteral("1")));
    QCOMPARE(w->text(QStringLiteral("Text13")), QStringLiteral("7"));
    QCOMPARE(kbm(), QStringLiteral("0,8"));

    // A new start class gives its own factor; the end class stays until the payouts are chosen again.
    QVERIFY(w->chooseFromDropDown(QStringLiteral("Combo1"), QStringLiteral("9")));
    QCOMPARE(kbm(), QStringLiteral("0,7"));
    QCOMPARE(w->text(QStringLiteral("Text13")), QStringLiteral("7"));
    QVERIFY(w->chooseFromDropDown(QStringLiteral("Combo5"), QStringLiteral("3")));
    QCOMPARE(w->text(QStringLiteral("Text13")), QStringLiteral("1"));
    QCOMPARE(kbm(), QStringLiteral("1,55"));

    // Back to a first contract: the renewal controls hide, nothing is cleared.
    w->clickButton(QStringLiteral("Option10"));
    QVERIFY(w->get<QWidget>(QStringLiteral("Combo5"))->isHidden());
    QCOMPARE(kbm(), QStringLiteral("1,55"));
    w->clickButton(QStringLiteral("Option11"));
    QCOMPARE(w->text(QStringLiteral("Text13")), QStringLiteral("1"));
    QCOMPARE(w->text(QStringLiteral("Combo5")), QStringLiteral("3"));

    // A class typed but not chosen sets nothing; the payout choice then uses the typed text.
    w->replaceText(QStringLiteral("Combo1"), QStringLiteral("m"));
    w->get<QWidget>(QStringLiteral("Text4"))->setFocus(); // the typed text loses focus
    QCOMPARE(w->text(QStringLiteral("Combo1")), QStringLiteral("m"));
    QCOMPARE(kbm(), QStringLiteral("1,55"));
    QVERIFY(w->chooseFromDropDown(QStringLiteral("Combo5"), QStringLiteral("0")));
    QCOMPARE(w->text(QStringLiteral("Text13")), QStringLiteral("1"));
    QCOMPARE(kbm(), QStringLiteral("1,55"));
    w->replaceText(QStringLiteral("Combo1"), QStringLiteral("M"));
    QVERIFY(w->chooseFromDropDown(QStringLiteral("Combo5"), QStringLiteral("0")));
    QCOMPARE(w->text(QStringLiteral("Text13")), QStringLiteral("0"));
    QCOMPARE(kbm(), QStringLiteral("2,3"));
}

void Form1Test::comboBoxesActOnlyOnAChoiceFromTheirList()
{
    auto *combo = w->get<window::ComboBox>(QStringLiteral("Combo2"));
    QSignalSpy clicks(combo, &window::ComboBox::Click);

    // Typing an entry's text, confirming it with Return and leaving the field choose nothing.
    w->replaceText(QStringLiteral("Combo2"), QStringLiteral("7 месяцев"));
    QTest::keyClick(combo, Qt::Key_Return);
    w->get<QWidget>(QStringLiteral("Text8"))->setFocus();
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(w->text(QStringLiteral("Text8")), QStringLiteral("0,7"));
    QCOMPARE(w->text(QStringLiteral("Combo2")), QStringLiteral("7 месяцев"));

    // A choice from the list, by keyboard, runs the handler exactly once.
    QVERIFY(w->chooseFromDropDown(QStringLiteral("Combo2"), QStringLiteral("9 месяцев")));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(w->text(QStringLiteral("Text8")), QStringLiteral("0,95"));

    // The arrows of the closed box step through the entries, each a choice.
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(w->text(QStringLiteral("Text8")), QStringLiteral("1"));

    // A choice by mouse.
    QTest::keyClick(combo, Qt::Key_Down, Qt::AltModifier);
    QAbstractItemView *view = combo->view();
    QVERIFY(view->isVisible());
    QTest::qWait(QApplication::doubleClickInterval() + 50); // the list ignores a release right after opening
    const QRect row = view->visualRect(combo->model()->index(1, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row.center());
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(clicks.count(), 3);
    QCOMPARE(w->text(QStringLiteral("Text8")), QStringLiteral("0,8"));

    // No completion: a typed lower-case text keeps its case.
    w->replaceText(QStringLiteral("Combo3"), QStringLiteral("6 МЕСЯЦЕВ"));
    w->get<QWidget>(QStringLiteral("Text9"))->setFocus();
    QCOMPARE(w->text(QStringLiteral("Combo3")), QStringLiteral("6 МЕСЯЦЕВ"));
    // The wheel over a closed box chooses nothing.
    QWheelEvent wheel(QPointF(5, 5),
        combo->mapToGlobal(QPointF(5, 5)),
        QPoint(),
        QPoint(0, -120),
        Qt::NoButton,
        Qt::NoModifier,
        Qt::NoScrollPhase,
        false);
    QApplication::sendEvent(combo, &wheel);
    QCOMPARE(clicks.count(), 3);
}

void Form1Test::optionHandlerDoesNotRunForAnAlreadySelectedButton()
{
    QVERIFY(w->clickRow(QStringLiteral("List6"), QStringLiteral("Москва")));
    w->clickButton(QStringLiteral("Option1")); // already selected
    QCOMPARE(w->text(QStringLiteral("Text3")), QStringLiteral("2"));
    w->clickButton(QStringLiteral("Option11"));
    w->clickButton(QStringLiteral("Option11"));
    QVERIFY(w->get<QWidget>(QStringLiteral("Combo5"))->isVisible());
}

void Form1Test::stepsFourToNineWriteTheirFields()
{
    QVERIFY(w->clickRow(QStringLiteral("List10"),
        QStringLiteral("от 22 лет и старше со стажем вождения до 2 лет включительно")));
    QCOMPARE(w->text(QStringLiteral("Text5")), QStringLiteral("1,15"));
    QVERIFY(w->clickRow(QStringLiteral("List11"), QStringLiteral("управлению транспортным средством")));
    QCOMPARE(w->text(QStringLiteral("Text6")), QStringLiteral("1"));
    QVERIFY(w->clickRow(QStringLiteral("List11"), QStringLiteral("к управлению транспортным средством")));
    QCOMPARE(w->text(QStringLiteral("Text6")), QStringLiteral("1,5"));
    QVERIFY(w->clickRow(QStringLiteral("List12"), QStringLiteral("свыше 70 до 95 включительно")));
    QCOMPARE(w->text(QStringLiteral("Text7")), QStringLiteral("1"));
    QVERIFY(w->chooseFromDropDown(QStringLiteral("Combo2"), QStringLiteral("более 9 месяцев")));
    QCOMPARE(w->text(QStringLiteral("Text8")), QStringLiteral("1"));
    QVERIFY(w->chooseFromDropDown(QStringLiteral("Combo3"), QStringLiteral("15 дней")));
    QCOMPARE(w->text(QStringLiteral("Text9")), QStringLiteral("0,2"));
    w->clickButton(QStringLiteral("Check1"));
    w->clickButton(QStringLiteral("Check1"));
    QCOMPARE(w->text(QStringLiteral("Text9")), QStringLiteral("0,2"));
    QVERIFY(w->chooseFromDropDown(QStringLiteral("Combo4"), QStringLiteral("1,5")));
    QCOMPARE(w->text(QStringLiteral("Combo4")), QStringLiteral("1,5"));
}

// Each row: the moves of a user, then the category and whether KP is excluded, and the total.
void Form1Test::premiumExamplesByClicks_data()
{
    QTest::addColumn<QStringList>("moves");
    QTest::addColumn<QString>("total");
    // Moves: "List:entry" clicks a row, "Combo:entry" chooses from a drop-down, "Field=text" types,
    // "#Name" clicks a button.
    const QStringList carInMoscow = {"List1:физических лиц",
        "List6:Москва",
        "List10:до 22 лет включительно со стажем вождения до 2 лет включительно",
        "List11:Договор обязательного страхования предусматривает ограничение количества лиц,допущенных к",
        "List12:свыше 70 до 95 включительно"};
    QTest::newRow("cars") << (carInMoscow + QStringList{"#Option3", "#Command2"}) << "2522,52";
    QTest::newRow("cars without KP") << (carInMoscow + QStringList{"#Check1", "#Command2"}) << "3603,6";
    QTest::newRow("trucks") << QStringList{"List2:грузоподъемностью до 10 т",
        "Text2=Омск",
        "List5:Омск",
        "List10:от 22 лет и старше со стажем вождения свыше 2 лет",
        "List11:управлению транспортным средством",
        "#Option4",
        "#Command2"} << "1289,925";
    QTest::newRow("trailers") << QStringList{"List1:прицепы к легковым автомобилям",
        "List6:Москва",
        "#Check1",
        "#Option5",
        "#Command2"} << "553";
    QTest::newRow("foreign") << QStringList{"List1:юридических лиц",
        "List12:свыше 70 до 95 включительно",
        "#Option7",
        "#Command2"} << "4322,5";
    QTest::newRow("foreign without KP") << QStringList{"List1:юридических лиц",
        "List12:свыше 70 до 95 включительно",
        "#Check1",
        "#Option7",
        "#Command2"} << "6175";
    // KT 1,55 and KO 1,15 are no entries of their steps: the user types them into the fields.
    QTest::newRow("four decimals kept") << QStringList{"List3:мотоциклы и мотороллеры",
        "Text3=1,55",
        "List10:от 22 лет и старше со стажем вождения до 2 лет включительно",
        "Text6=1,15",
        "List12:свыше 70 до 95 включительно",
        "#Check1",
        "#Command2"} << "1743,4187";
}

void Form1Test::premiumExamplesByClicks()
{
    QFETCH(QStringList, moves);
    QFETCH(QString, total);
    for (const QString &move : moves) {
        if (move.startsWith(u'#')) {
            w->clickButton(move.mid(1));
        } else if (const auto colon = move.indexOf(u':'); colon > 0) {
            const QString target = move.left(colon), entry = move.mid(colon + 1);
            if (target.startsWith(QLatin1String("Combo")))
                QVERIFY2(w->chooseFromDropDown(target, entry), qPrintable(move));
            else
                QVERIFY2(w->clickRow(target, entry), qPrintable(move));
        } else {
            const auto equals = move.indexOf(u'=');
            w->replaceText(move.left(equals), move.mid(equals + 1));
        }
    }
    QCOMPARE(w->text(QStringLiteral("Text10")), total);
    QVERIFY(w->desktop.messages.isEmpty());
}

void Form1Test::totalIsASnapshotUntilTheNextOk()
{
    QVERIFY(w->clickRow(QStringLiteral("List1"), QStringLiteral("прицепы к легковым автомобилям")));
    QVERIFY(w->clickRow(QStringLiteral("List6"), QStringLiteral("Москва")));
    w->clickButton(QStringLiteral("Option5"));
    w->clickButton(QStringLiteral("Command2"));
    QCOMPARE(w->text(QStringLiteral("Text10")), QStringLiteral("553"));
    QVERIFY(w->clickRow(QStringLiteral("List2"), QStringLiteral("прицепы к грузовым автомобилям")));
    w->clickButton(QStringLiteral("Option3"));
    w->clickButton(QStringLiteral("Check1"));
    QCOMPARE(w->text(QStringLiteral("Text10")), QStringLiteral("553"));
    w->clickButton(QStringLiteral("Option5"));
    w->clickButton(QStringLiteral("Command2"));
    QCOMPARE(w->text(QStringLiteral("Text10")), QStringLiteral("1134")); // 810 × 2 × 0,7
}

void Form1Test::zeroTotalWarnsAndEmptiesTheField()
{
    w->clickButton(QStringLiteral("Command2")); // nothing chosen yet: TB is 0
    QCOMPARE(w->desktop.messages.size(), 1);
    QCOMPARE(w->desktop.messages.front().text, kZeroWarning);
    QVERIFY(!w->desktop.messages.front().warning);
    QCOMPARE(w->text(QStringLiteral("Text10")), QString());

    // Whatever puts "0" there, the warning follows; "0,5" and "10" are totals like any other.
    auto *total = w->get<QLineEdit>(QStringLiteral("Text10"));
    const auto paste = [total](const QString &text) {
        total->selectAll();
        total->insert(text);
    };
    paste(QStringLiteral("0,5"));
    paste(QStringLiteral("10"));
    QCOMPARE(w->desktop.messages.size(), 1);
    QCOMPARE(total->text(), QStringLiteral("10"));
    paste(QStringLiteral("0"));
    QCOMPARE(w->desktop.messages.size(), 2);
    QCOMPARE(w->text(QStringLiteral("Text10")), QString());
}

void Form1Test::unusableFactorShowsOneMessageAndLeavesNoTotal()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    w = std::make_unique<WindowFixture>(dir.path());
    const auto computeTrailer = [this] {
        w->clickButton(QStringLiteral("Option1"));
        QVERIFY(w->clickRow(QStringLiteral("List6"), QStringLiteral("Москва")));
        w->clickButton(QStringLiteral("Option5"));
        w->clickButton(QStringLiteral("Command2"));
        QCOMPARE(w->text(QStringLiteral("Text10")), QStringLiteral("553"));
    };
    QVERIFY(w->clickRow(QStringLiteral("List1"), QStringLiteral("прицепы к легковым автомобилям")));
    computeTrailer();

    // KT is empty right after a switch of vehicle kind: the warning, and no total beside the fields
    // that failed, so the next report's total line is empty too.
    w->clickButton(QStringLiteral("Option2"));
    w->clickButton(QStringLiteral("Command2"));
    QCOMPARE(w->desktop.messages.size(), 1);
    QCOMPARE(w->desktop.messages.back().text, kZeroWarning);
    QCOMPARE(w->text(QStringLiteral("Text10")), QString());
    w->clickButton(QStringLiteral("Command7"));
    QFile report(dir.filePath(QStringLiteral("str.txt")));
    QVERIFY(report.open(QIODevice::ReadOnly));
    QVERIFY(
        report.readAll().contains("\xc8\xd2\xce\xc3\xce: \xf0\xf3\xe1\xeb\xe5\xe9\r\r\n")); // "ИТОГО: рублей"

    // KN typed with a point, for a category that uses it.
    computeTrailer();
    w->replaceText(QStringLiteral("Combo4"), QStringLiteral("1.5"));
    w->clickButton(QStringLiteral("Option4"));
    w->clickButton(QStringLiteral("Command2"));
    const QString kn = w->desktop.messages.back().text;
    QVERIFY2(kn.contains(QStringLiteral("КН")) && kn.contains(QStringLiteral("«1.5»"))
            && kn.contains(QStringLiteral("запятая")),
        qPrintable(kn));
    QCOMPARE(w->text(QStringLiteral("Text10")), QString());

    // Letters in a factor field.
    computeTrailer();
    w->replaceText(QStringLiteral("Combo4"), QStringLiteral("1"));
    w->replaceText(QStringLiteral("Text5"), QStringLiteral("один"));
    w->clickButton(QStringLiteral("Option4"));
    w->clickButton(QStringLiteral("Command2"));
    const QString kvs = w->desktop.messages.back().text;
    QVERIFY2(kvs.contains(QStringLiteral("КВС")) && kvs.contains(QStringLiteral("«один»")), qPrintable(kvs));
    QCOMPARE(w->text(QStringLiteral("Text10")), QString());
}

// A spreadsheet cell copied with its line end, or several cells with tabs between them, must not
// carry line breaks or control characters into a factor field (and from there into the report).
void Form1Test::fieldsKeepOneLineOfWhatIsPastedOrTyped()
{
    QStringList fields = {QStringLiteral("txtTb"), QStringLiteral("Text2"), QStringLiteral("Text10")};
    for (int i = 1; i <= 9; ++i)
        fields << QStringLiteral("Text%1").arg(i);
    for (int i = 1; i <= 5; ++i)
        fields << QStringLiteral("Combo%1").arg(i);
    w->clickButton(QStringLiteral("Option11")); // shows Combo5
    for (const QString &name : fields) {
        QLineEdit *field = qobject_cast<QComboBox *>(w->get<QWidget>(name))
            ? w->get<QComboBox>(name)->lineEdit()
            : w->get<QLineEdit>(name);
        QVERIFY2(field, qPrintable(name));
        w->openPageOf(field);
        field->setFocus();
        field->setText(QStringLiteral("ab"));
        field->setCursorPosition(1);
        QApplication::clipboard()->setText(QStringLiteral("1,3\t5\r\n2,0\r\n"));
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(field->text(), QStringLiteral("a1,35b")); // first line, tab dropped, text around kept
        QCOMPARE(field->cursorPosition(), 5);
        QApplication::clipboard()->setText(QStringLiteral("\u2028x"));
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(field->text(), QString()); // a paste that starts with a line break inserts nothing
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QStringLiteral("7\u0000\u0085"), {});
        QCOMPARE(field->text(), QStringLiteral("7"));
    }
}

void Form1Test::reportsAreWrittenByClicksThenConfirmed()
{
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/program folder XXXXXX"));
    QVERIFY(dir.isValid());
    QVERIFY(QFile::copy(
        QStringLiteral(TARIFMASTER_BIN_DIR "/tmas.gif"), dir.filePath(QStringLiteral("tmas.gif"))));
    w = std::make_unique<WindowFixture>(dir.path());
    QVERIFY(w->clickRow(QStringLiteral("List1"), QStringLiteral("прицепы к легковым автомобилям")));
    QVERIFY(w->clickRow(QStringLiteral("List6"), QStringLiteral("Москва")));
    w->clickButton(QStringLiteral("Option5"));
    w->clickButton(QStringLiteral("Command2"));

    w->clickButton(QStringLiteral("Command7")); // the text report is chosen at start
    const QString text = dir.filePath(QStringLiteral("str.txt"));
    QCOMPARE(w->desktop.messages.size(), 1);
    QCOMPARE(w->desktop.messages.back().text, QStringLiteral("Cохраненно: ") + text);
    QFile written(text);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    QVERIFY(bytes.contains(
        "\xc8\xd2\xce\xc3\xce:553 \xf0\xf3\xe1\xeb\xe5\xe9\r\r\n")); // "ИТОГО:553 рублей" in Windows-1251
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("str.doc"))));

    w->clickButton(QStringLiteral("Option9"));
    w->clickButton(QStringLiteral("Command7"));
    const QString document = dir.filePath(QStringLiteral("str.doc"));
    QCOMPARE(w->desktop.messages.size(), 2);
    QCOMPARE(w->desktop.messages.back().text, QStringLiteral("Cохраненно: ") + document);
    QFile doc(document);
    QVERIFY(doc.open(QIODevice::ReadOnly));
    const QByteArray rtf = doc.readAll();
    QVERIFY(rtf.startsWith("{\\rtf1"));
    QVERIFY(rtf.contains("{\\pict\\pngblip\\picw240\\pich48")); // tmas.gif, turned into PNG
}

void Form1Test::failedReportWarnsAndKeepsEverything()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The program folder holds no picture, and "str.txt" is a folder: neither report can be written.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("str.txt")));
    w = std::make_unique<WindowFixture>(dir.path());
    QVERIFY(w->clickRow(QStringLiteral("List1"), QStringLiteral("физических лиц")));
    w->clickButton(QStringLiteral("Command7"));
    QCOMPARE(w->desktop.messages.size(), 1);
    QVERIFY(w->desktop.messages.back().warning);
    QVERIFY2(w->desktop.messages.back().text.contains(QStringLiteral("str.txt")),
        qPrintable(w->desktop.messages.back().text));
    QVERIFY(!w->desktop.messages.back().text.startsWith(QStringLiteral("Cохраненно")));

    w->clickButton(QStringLiteral("Option9"));
    w->clickButton(QStringLiteral("Command7"));
    QCOMPARE(w->desktop.messages.size(), 2);
    QVERIFY(w->desktop.messages.back().warning);
    const QString failed
        = QStringLiteral("Не удалось сохранить отчет %1: ").arg(dir.filePath(QStringLiteral("str.doc")));
    const QString kept = QStringLiteral(".\nПрежний файл отчета, если он был, остался без изменений.");
    const QString picture = dir.filePath(QStringLiteral("tmas.gif"));
    QCOMPARE(w->desktop.messages.back().text, failed + QStringLiteral("не найден рисунок ") + picture + kept);
    // A picture file that holds no picture.
    QFile bogus(picture);
    QVERIFY(bogus.open(QIODevice::WriteOnly));
    bogus.write("GIF89a, but no more");
    bogus.close();
    w->clickButton(QStringLiteral("Command7"));
    QCOMPARE(w->desktop.messages.size(), 3);
    QCOMPARE(w->desktop.messages.back().text,
        failed + QStringLiteral("рисунок ") + picture + QStringLiteral(" поврежден или не является рисунком")
            + kept);
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("str.doc"))));
    QVERIFY(w->form->isVisible());
    QCOMPARE(w->text(QStringLiteral("txtTb")), QStringLiteral("1980"));
    QVERIFY(w->get<QRadioButton>(QStringLiteral("Option9"))->isChecked());
}

void Form1Test::helpButtonsAndLinksHandOverTheirTargets()
{
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/program folder XXXXXX"));
    QVERIFY(dir.isValid());
    w = std::make_unique<WindowFixture>(dir.path());
    const std::pair<const char *, const char *> pages[] = {{"Command4", "tarif.htm"},
        {"Command1", "prim.htm"},
        {"Command3", "struk.htm"},
        {"Command5", "primer.htm"}};
    for (const auto &[button, page] : pages) {
        w->clickButton(QLatin1String(button));
        QCOMPARE(w->desktop.opened.back(), QUrl::fromLocalFile(dir.path() + u'/' + QLatin1String(page)));
        QCOMPARE(w->desktop.opened.back().toLocalFile(), dir.path() + u'/' + QLatin1String(page));
    }
    auto *web = w->get<window::LinkLabel>(QStringLiteral("Label45"));
    auto *mail = w->get<window::LinkLabel>(QStringLiteral("Label46"));
    QTest::mouseClick(web, Qt::LeftButton, {}, QPoint(web->width() - 2, web->height() - 2)); // anywhere in it
    QCOMPARE(w->desktop.opened.back().toString(), web->text());
    QTest::mouseClick(mail, Qt::LeftButton, {}, QPoint(1, 1));
    QCOMPARE(w->desktop.opened.back().toEncoded(),
        "mailto:" + mail->text().toUtf8()
            + "?Subject=%D1%81%D1%82%D1%80%D0%B0%D1%85%D0%BE%D0%B2%D0%BA%D0%B0");
    QCOMPARE(w->desktop.opened.size(), 6);
    QVERIFY(web->cursor().shape() == Qt::BitmapCursor && mail->cursor().shape() == Qt::BitmapCursor);
    QCOMPARE(web->cursor().hotSpot(), QPoint(13, 9));
}

void Form1Test::missingHelpPageChangesNothing()
{
    w->desktop.openSucceeds = false; // no page, no default program
    QVERIFY(w->clickRow(QStringLiteral("List1"), QStringLiteral("физических лиц")));
    w->clickButton(QStringLiteral("Command4"));
    w->clickButton(QStringLiteral("Command5"));
    QCOMPARE(w->desktop.opened.size(), 2);
    QVERIFY(w->desktop.messages.isEmpty());
    QVERIFY(w->form->isVisible());
    QCOMPARE(w->text(QStringLiteral("txtTb")), QStringLiteral("1980"));
}

void Form1Test::exitButtonClosesTheWindow()
{
    w->clickButton(QStringLiteral("Command6"));
    QVERIFY(!w->form->isVisible());
}

TARIFMASTER_WINDOW_TEST_MAIN(Form1Test)
#include "form1_test.moc"
