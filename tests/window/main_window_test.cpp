// The Qt window over Form1: that each widget raises the form's event for what the user does with it,
// and only then (clicks on rows, tabs and buttons, keys, choices from drop-down lists, typing, pasting),
// that the widgets show what the form sets, and what only this front does (reports in the program's
// folder, help pages as file URLs, closing). What the handlers do is the form's suite's.
// Nothing here opens a real message box or launches a program: the window gets a recording desktop,
// and the shared test main traps stray URLs and fails a test that opens a modal window. The moves and
// what they must show are written as WindowFixture::play takes them.
#ifndef Q_MOC_RUN // moc cannot parse the C++20 concepts that these headers bring in
#include "engine/territory.h"
#include "support/glibc_windows1251.h"
#endif
#include "support/window_fixture.h"
#include "support/window_test_main.h"

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

using namespace Qt::StringLiterals;

namespace {

const QString kZeroWarning = u"Не установлен один из коэффициентов шаг(ов) с 1 по 9"_s;

QStringList entries(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// The bytes of a text report's line, as the file holds them.
QByteArray reportLine(const std::string &utf8)
{
    return QByteArray::fromStdString(support::cp1251(utf8) + "\r\r\n");
}

} // namespace

class MainWindowTest : public WindowSuite {
    Q_OBJECT

private slots:
    void widgetsShowTheStartOfTheForm();
    void everyKindOfWidgetRaisesItsEvent();
    void listEntriesRespondToKeyboardAndTheLeftButtonOnly();
    void typingSearchesAndTheResultListGrows();
    void comboBoxesActOnlyOnAChoiceFromTheirList();
    void optionHandlerDoesNotRunForAnAlreadySelectedButton();
    void zeroTotalWarnsAndEmptiesTheField();
    void fieldsKeepOneLineOfWhatIsPastedOrTyped();
    void reportsAreWrittenByClicksThenConfirmed();
    void failedReportWarnsAndKeepsEverything();
    void helpButtonsAndLinksHandOverTheirTargets();
    void missingHelpPageChangesNothing();
    void exitButtonClosesTheWindow();
};

void MainWindowTest::widgetsShowTheStartOfTheForm()
{
    QCOMPARE(
        w->play({"txtTb?0", "Text3?0", "Text4?1", "Text8?0,7", "Combo4?1", "Text10?", "Combo1?3", "Combo5?"}),
        QString());
    for (const char *name : {"Option1", "Option3", "Option8", "Option10"})
        QVERIFY2(w->get<QRadioButton>(QLatin1String(name))->isChecked(), name);
    QVERIFY(!w->get<QRadioButton>(u"Option2"_s)->isChecked());
    for (const char *name : {"Combo5", "Text13", "Label49", "Label50", "List4", "Text11", "Text12"})
        QVERIFY2(w->get<QWidget>(QLatin1String(name))->isHidden(), name);
    QVERIFY(!w->text(u"Text11"_s).isEmpty());
    QVERIFY(!w->text(u"Text12"_s).isEmpty());
    const std::pair<const char *, int> counts[] = {{"List1", 4}, {"List4", 294}, {"List5", 0}, {"List7", 39}};
    for (const auto &[name, count] : counts) {
        const auto *list = w->get<QListWidget>(QLatin1String(name));
        QCOMPARE(list->count(), count);
        QVERIFY2(list->selectedItems().isEmpty(), name);
    }
    QCOMPARE(w->get<window::ComboBox>(u"Combo1"_s)->count(), 15);
    QCOMPARE(w->get<window::TabControl>(u"SSTab1"_s)->currentIndex(), 0);
    QCOMPARE(w->form->windowTitle(), u"ТарифМастер"_s);
    QVERIFY(w->desktop.messages.isEmpty());
}

// A row, a click into a field, an option, a drop-down entry, the check box and a button, each by the
// mouse as a user makes it, reach the form's handler, and the widgets show what it writes.
void MainWindowTest::everyKindOfWidgetRaisesItsEvent()
{
    // clang-format off
    QCOMPARE(w->play({"List1:физических лиц", "#Text3", "txtTb?395", "List1:физических лиц", "txtTb?1980",
        "Text1?0,495", "List6:Москва", "Text3?2", "#Option2", "Text3?", "#Option1", "List6:Москва", "Text3?2",
        "#Option11", "Combo5:1", "Text13?1", "Text4?1,55"}), QString());
    for (const char *name : {"Combo5", "Text13", "Label49", "Label50"})
        QVERIFY2(w->get<QWidget>(QLatin1String(name))->isVisible(), name);
    QCOMPARE(w->play({"#Option10", "Combo1:3", "Text4?1",
        "List10:до 22 лет включительно со стажем вождения до 2 лет включительно",
        "List11:Договор обязательного страхования предусматривает ограничение количества лиц,допущенных к",
        "List12:свыше 70 до 95 включительно", "Combo2:7 месяцев", "Text8?0,8", "Combo2:6 месяцев",
        "#Check1", "#Command2", "Text10?3603,6"}), QString());
    // clang-format on
    QVERIFY(w->get<QWidget>(u"Combo5"_s)->isHidden());
    QVERIFY(w->desktop.messages.isEmpty());
}

void MainWindowTest::listEntriesRespondToKeyboardAndTheLeftButtonOnly()
{
    auto *list = w->get<QListWidget>(u"List2"_s);
    w->openPageOf(list);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down); // the first entry
    QCOMPARE(w->text(u"txtTb"_s), u"2025"_s);
    QTest::keyClick(list, Qt::Key_End);
    QCOMPARE(w->text(u"txtTb"_s), u"305"_s);
    QTest::keyClick(list, Qt::Key_Home);
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(w->text(u"Text1"_s), u"0,81"_s);
    // Type-ahead: "т" jumps to "троллейбусы".
    QTest::sendKeyEvent(QTest::Click, list, Qt::Key_unknown, u"т"_s, Qt::NoModifier);
    QCOMPARE(w->text(u"txtTb"_s), u"1620"_s);

    // A click on the entry already chosen applies it again, once.
    auto *moto = w->get<window::ListBox>(u"List3"_s);
    QSignalSpy clicks(moto, &window::ListBox::Click);
    QCOMPARE(w->play({"List3:мотоциклы и мотороллеры"}), QString());
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(w->play({"#Text4", "txtTb?2965", "List3:мотоциклы и мотороллеры", "txtTb?1215"}), QString());
    QCOMPARE(clicks.count(), 2);

    // The right and middle buttons choose no entry and apply none, not even the one already chosen.
    auto *cars = w->get<window::ListBox>(u"List1"_s);
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
    QCOMPARE(w->text(u"txtTb"_s), u"1215"_s);
}

// Each keystroke is a change of the search text; the result list shows what the form finds and grows
// to show it, and keeps its height when the text is deleted.
void MainWindowTest::typingSearchesAndTheResultListGrows()
{
    auto *search = w->get<QLineEdit>(u"Text2"_s);
    auto *found = w->get<QListWidget>(u"List5"_s);
    QCOMPARE(found->height(), 450 / 15);
    w->typeInto(search, u"ново"_s);
    QCOMPARE(entries(found), window::fromUtf8List(engine::findTowns("ново")));
    QCOMPARE(found->height(), 1230 / 15);
    QCOMPARE(found->palette().color(QPalette::Base), found->parentWidget()->palette().color(QPalette::Base));
    w->typeInto(search, u"с"_s);
    QCOMPARE(entries(found), window::fromUtf8List(engine::findTowns("новос")));
    QCOMPARE(w->play({"List5:Новосибирск", "Text3?1,3"}), QString());

    search->setFocus();
    QTest::keyClick(search, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(search, Qt::Key_Backspace);
    QVERIFY(entries(found).isEmpty());
    QCOMPARE(found->height(), 1230 / 15);
}

void MainWindowTest::comboBoxesActOnlyOnAChoiceFromTheirList()
{
    auto *combo = w->get<window::ComboBox>(u"Combo2"_s);
    QSignalSpy clicks(combo, &window::ComboBox::Click);

    // Typing an entry's text, confirming it with Return and leaving the field choose nothing.
    w->replaceText(u"Combo2"_s, u"7 месяцев"_s);
    QTest::keyClick(combo, Qt::Key_Return);
    w->get<QWidget>(u"Text8"_s)->setFocus();
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(w->play({"Text8?0,7", "Combo2?7 месяцев"}), QString());

    // A choice from the list, by keyboard, runs the handler exactly once.
    QCOMPARE(w->play({"Combo2:9 месяцев", "Text8?0,95"}), QString());
    QCOMPARE(clicks.count(), 1);

    // The arrows of the closed box step through the entries, each a choice.
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(w->text(u"Text8"_s), u"1"_s);

    // A choice by mouse.
    QTest::keyClick(combo, Qt::Key_Down, Qt::AltModifier);
    QAbstractItemView *view = combo->view();
    QVERIFY(view->isVisible());
    QTest::qWait(QApplication::doubleClickInterval() + 50); // the list ignores a release right after opening
    const QRect row = view->visualRect(combo->model()->index(1, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row.center());
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(clicks.count(), 3);
    QCOMPARE(w->text(u"Text8"_s), u"0,8"_s);

    // No completion: a typed lower-case text keeps its case.
    w->replaceText(u"Combo3"_s, u"6 МЕСЯЦЕВ"_s);
    w->get<QWidget>(u"Text9"_s)->setFocus();
    QCOMPARE(w->text(u"Combo3"_s), u"6 МЕСЯЦЕВ"_s);
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

void MainWindowTest::optionHandlerDoesNotRunForAnAlreadySelectedButton()
{
    QCOMPARE(w->play({"List6:Москва", "#Option1", "Text3?2", "#Option11", "#Option11"}), QString());
    QVERIFY(w->get<QWidget>(u"Combo5"_s)->isVisible());
}

void MainWindowTest::zeroTotalWarnsAndEmptiesTheField()
{
    w->clickButton(u"Command2"_s); // nothing chosen yet: TB is 0
    QCOMPARE(w->desktop.messages.size(), 1);
    QCOMPARE(w->desktop.messages.front().text, kZeroWarning);
    QVERIFY(!w->desktop.messages.front().warning);
    QCOMPARE(w->text(u"Text10"_s), QString());

    // Whatever puts "0" there, the warning follows; "0,5" and "10" are totals like any other.
    auto *total = w->get<QLineEdit>(u"Text10"_s);
    const auto paste = [total](const QString &text) {
        total->selectAll();
        total->insert(text);
    };
    paste(u"0,5"_s);
    paste(u"10"_s);
    QCOMPARE(w->desktop.messages.size(), 1);
    QCOMPARE(total->text(), u"10"_s);
    paste(u"0"_s);
    QCOMPARE(w->desktop.messages.size(), 2);
    QCOMPARE(w->text(u"Text10"_s), QString());
}

// A spreadsheet cell copied with its line end, or several cells with tabs between them, must not
// carry line breaks or control characters into a factor field (and from there into the report).
void MainWindowTest::fieldsKeepOneLineOfWhatIsPastedOrTyped()
{
    QStringList fields = {u"txtTb"_s, u"Text2"_s, u"Text10"_s};
    for (int i = 1; i <= 9; ++i)
        fields << u"Text%1"_s.arg(i);
    for (int i = 1; i <= 5; ++i)
        fields << u"Combo%1"_s.arg(i);
    w->clickButton(u"Option11"_s); // shows Combo5
    for (const QString &name : fields) {
        QLineEdit *field = qobject_cast<QComboBox *>(w->get<QWidget>(name))
            ? w->get<QComboBox>(name)->lineEdit()
            : w->get<QLineEdit>(name);
        QVERIFY2(field, qPrintable(name));
        w->openPageOf(field);
        field->setFocus();
        field->setText(u"ab"_s);
        field->setCursorPosition(1);
        QApplication::clipboard()->setText(u"1,3\t5\r\n2,0\r\n"_s);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(field->text(), u"a1,35b"_s); // first line, tab dropped, text around kept
        QCOMPARE(field->cursorPosition(), 5);
        QApplication::clipboard()->setText(u"\u2028x"_s);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(field->text(), QString()); // a paste that starts with a line break inserts nothing
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, u"7\u0000\u0085"_s, {});
        QCOMPARE(field->text(), u"7"_s);
    }
}

void MainWindowTest::reportsAreWrittenByClicksThenConfirmed()
{
    QTemporaryDir dir(QDir::tempPath() + u"/program folder XXXXXX"_s);
    QVERIFY(dir.isValid());
    QVERIFY(QFile::copy(QStringLiteral(TARIFMASTER_BIN_DIR "/tmas.gif"), dir.filePath(u"tmas.gif"_s)));
    w = std::make_unique<WindowFixture>(dir.path());
    // The text report is chosen at start.
    QCOMPARE(
        w->play(
            {"List1:прицепы к легковым автомобилям", "List6:Москва", "#Option5", "#Command2", "#Command7"}),
        QString());
    const QString text = dir.filePath(u"str.txt"_s);
    QCOMPARE(w->desktop.messages.size(), 1);
    QCOMPARE(w->desktop.messages.back().text, u"Cохраненно: "_s + text);
    QFile written(text);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.readAll().contains(reportLine("ИТОГО:553 рублей")));
    QVERIFY(!QFile::exists(dir.filePath(u"str.doc"_s)));

    QCOMPARE(w->play({"#Option9", "#Command7"}), QString());
    const QString document = dir.filePath(u"str.doc"_s);
    QCOMPARE(w->desktop.messages.size(), 2);
    QCOMPARE(w->desktop.messages.back().text, u"Cохраненно: "_s + document);
    QFile doc(document);
    QVERIFY(doc.open(QIODevice::ReadOnly));
    const QByteArray rtf = doc.readAll();
    QVERIFY(rtf.startsWith("{\\rtf1"));
    QVERIFY(rtf.contains("{\\pict\\pngblip\\picw240\\pich48")); // tmas.gif, turned into PNG
}

void MainWindowTest::failedReportWarnsAndKeepsEverything()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The program folder holds no picture, and "str.txt" is a folder: neither report can be written.
    QVERIFY(QDir(dir.path()).mkdir(u"str.txt"_s));
    w = std::make_unique<WindowFixture>(dir.path());
    QCOMPARE(w->play({"List1:физических лиц", "#Command7"}), QString());
    QCOMPARE(w->desktop.messages.size(), 1);
    const RecordingDesktop::Message &text = w->desktop.messages.back();
    QVERIFY(text.warning);
    QVERIFY2(
        text.text.contains(u"str.txt"_s) && !text.text.startsWith(u"Cохраненно"_s), qPrintable(text.text));

    QCOMPARE(w->play({"#Option9", "#Command7", "txtTb?1980"}), QString());
    QCOMPARE(w->desktop.messages.size(), 2);
    QVERIFY(w->desktop.messages.back().warning);
    const QString failed = QStringLiteral("Не удалось сохранить отчет %1: ").arg(dir.filePath(u"str.doc"_s));
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
    QVERIFY(!QFile::exists(dir.filePath(u"str.doc"_s)));
    QVERIFY(w->form->isVisible());
    QVERIFY(w->get<QRadioButton>(u"Option9"_s)->isChecked());
}

void MainWindowTest::helpButtonsAndLinksHandOverTheirTargets()
{
    QTemporaryDir dir(QDir::tempPath() + u"/program folder XXXXXX"_s);
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
    auto *web = w->get<window::LinkLabel>(u"Label45"_s);
    auto *mail = w->get<window::LinkLabel>(u"Label46"_s);
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

void MainWindowTest::missingHelpPageChangesNothing()
{
    w->desktop.openSucceeds = false; // no page, no default program
    QCOMPARE(w->play({"List1:физических лиц", "#Command4", "#Command5", "txtTb?1980"}), QString());
    QCOMPARE(w->desktop.opened.size(), 2);
    QVERIFY(w->desktop.messages.isEmpty());
    QVERIFY(w->form->isVisible());
}

void MainWindowTest::exitButtonClosesTheWindow()
{
    w->clickButton(u"Command6"_s);
    QVERIFY(!w->form->isVisible());
}

TARIFMASTER_WINDOW_TEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
