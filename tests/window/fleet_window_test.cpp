// The fleet window over the real batch, as its user meets it: a workbook chosen in the dialog and
// computed into the cells tarifmaster-batch writes for it, its summary and rejected row shown, the
// result handed to the shell; and lists dropped on the main window, computed in the one fleet window
// they open. What the window does in each state is the fleet form's suite's (tests/form).
#include "support/files.h"
#include "support/window_fixture.h"
#include "support/window_test_main.h"
#include "window/fleet_window.h"

#include <QApplication>
#include <QFormLayout>
#include <QLabel>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using namespace Qt::StringLiterals;
using form::FleetState;

namespace {

const QString kExamples = QStringLiteral(TARIFMASTER_EXAMPLES);

// A copy of a sample list in folder, named as a user names it.
QString copyOfSample(const QTemporaryDir &folder, const QString &sample, const QString &name)
{
    const QString copy = folder.filePath(name);
    return QFile::copy(kExamples + u'/' + sample, copy) ? copy : QString();
}

// tarifmaster-batch on the same list, its result beside the window's.
std::string batchResult(const QString &list, const QString &output)
{
    const support::CommandResult run = support::runCommand(support::quoted(TARIFMASTER_BATCH_PROGRAM) + " "
        + support::quoted(window::pathOf(list)) + " --output " + support::quoted(window::pathOf(output)));
    return run.status == 1 ? window::toUtf8(output) : std::string();
}

// A workbook's cells as tests/support/workbooks.py reads them, a row a line.
std::string cellsOf(const std::string &workbook)
{
    return support::runCommand(
        "python3 " + support::quoted(TARIFMASTER_WORKBOOKS_PY) + " cells " + support::quoted(workbook))
        .output;
}

// The summary as the window shows it: "caption value" a line.
QStringList summaryOf(const window::FleetWindow &fleet)
{
    QStringList lines;
    const auto *form = fleet.findChild<QWidget *>(u"Summary"_s)->findChild<QFormLayout *>();
    for (int row = 0; row < form->rowCount(); ++row) {
        const auto text = [&](QFormLayout::ItemRole role) {
            return qobject_cast<QLabel *>(form->itemAt(row, role)->widget())->text();
        };
        lines << text(QFormLayout::LabelRole) + u' ' + text(QFormLayout::FieldRole);
    }
    return lines;
}

QStringList rowOf(const QAbstractItemModel &model, int row)
{
    QStringList cells;
    for (int column = 0; column < model.columnCount(); ++column)
        cells << model.data(model.index(row, column)).toString();
    return cells;
}

// Drags files over the main window and drops them there: true when it took them.
bool drop(QWidget *window, const QStringList &files)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString &file : files)
        urls << QUrl::fromLocalFile(file);
    data.setUrls(urls);
    const QPoint middle = window->rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent dropped(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &dropped);
    return dropped.isAccepted();
}

QList<window::FleetWindow *> openFleetWindows()
{
    QList<window::FleetWindow *> open;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *fleet = qobject_cast<window::FleetWindow *>(widget); fleet && fleet->isVisible())
            open << fleet;
    return open;
}

} // namespace

class FleetWindowTest : public WindowSuite {
    Q_OBJECT

private slots:
    void aWorkbookComesOutAsTheBatchWritesIt();
    void listsDroppedOnTheMainWindowAreComputedInOneFleetWindow();
};

void FleetWindowTest::aWorkbookComesOutAsTheBatchWritesIt()
{
    const QTemporaryDir folder;
    const QString list = copyOfSample(folder, u"fleet.xlsx"_s, u"Парк ТС.xlsx"_s);
    QVERIFY(!list.isEmpty());
    window::FleetWindow fleet(w->desktop);
    fleet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fleet));
    QCOMPARE(fleet.windowTitle(), u"ТарифМастер — расчет парка ТС"_s);
    auto *rows = fleet.findChild<QTreeView *>(u"RejectedRows"_s);
    QVERIFY(rows->isHidden() && fleet.findChild<QWidget *>(u"Summary"_s)->isHidden());
    QVERIFY(!fleet.findChild<QPushButton *>(u"OpenResult"_s)->isEnabled());

    w->desktop.fileToChoose = list;
    QTest::mouseClick(fleet.findChild<QPushButton *>(u"Choose"_s), Qt::LeftButton);
    QCOMPARE(w->desktop.dialogs.size(), 1);
    QCOMPARE(w->desktop.dialogs[0].filters,
        (QStringList{
            u"Списки ТС (CSV, TXT, Excel, OpenDocument) (*.csv *.txt *.xlsx *.ods)"_s, u"Все файлы (*)"_s}));
    QTRY_COMPARE_WITH_TIMEOUT(fleet.state(), FleetState::Done, 30000);

    const QString result = folder.filePath(u"Парк ТС-result.xlsx"_s);
    QCOMPARE(summaryOf(fleet),
        (QStringList{u"Рассчитано строк: 10"_s,
            u"Отклонено строк: 1"_s,
            u"Сумма премий: 33136,1315"_s,
            u"Файл результата: "_s + result}));
    QVERIFY(rows->isVisible());
    QCOMPARE(rowOf(*rows->model(), 0),
        (QStringList{u"11"_s, u"КТ"_s, u"населенный пункт «Новосибрск» не найден"_s}));
    QCOMPARE(rows->model()->rowCount(), 1);
    QCOMPARE(rows->model()->headerData(2, Qt::Horizontal).toString(), u"Причина"_s);
    QVERIFY(fleet.findChild<QLabel *>(u"MoreRejected"_s)->isHidden());

    const std::string batch = batchResult(list, folder.filePath(u"batch.xlsx"_s));
    QVERIFY(!batch.empty());
    const std::string cells = cellsOf(window::toUtf8(result));
    QVERIFY(cells.find("населенный пункт «Новосибрск» не найден") != std::string::npos);
    QCOMPARE(cells, cellsOf(batch));

    QTest::mouseClick(fleet.findChild<QPushButton *>(u"OpenResult"_s), Qt::LeftButton);
    QTest::mouseClick(fleet.findChild<QPushButton *>(u"ShowInFolder"_s), Qt::LeftButton);
    QCOMPARE(w->desktop.opened, QList<QUrl>{QUrl::fromLocalFile(result)});
    QCOMPARE(w->desktop.shownInFolder, QStringList{result});
    QVERIFY(w->desktop.messages.isEmpty());
}

void FleetWindowTest::listsDroppedOnTheMainWindowAreComputedInOneFleetWindow()
{
    const QTemporaryDir folder;
    const QString csv = copyOfSample(folder, u"fleet.csv"_s, u"парк.csv"_s);
    const QString ods = copyOfSample(folder, u"fleet.ods"_s, u"прицепы.ods"_s);
    QVERIFY(!drop(w->form.get(), {csv, ods})); // one list at a time
    QVERIFY(openFleetWindows().isEmpty());

    QVERIFY(drop(w->form.get(), {csv}));
    QCOMPARE(openFleetWindows().size(), 1);
    window::FleetWindow *fleet = openFleetWindows().front();
    QTRY_COMPARE_WITH_TIMEOUT(fleet->state(), FleetState::Done, 30000);
    const std::string batch = batchResult(csv, folder.filePath(u"batch.csv"_s));
    QVERIFY(!batch.empty());
    QCOMPARE(
        support::readFile(window::pathOf(folder.filePath(u"парк-result.csv"_s))), support::readFile(batch));

    QVERIFY(drop(w->form.get(), {ods}));
    QCOMPARE(openFleetWindows(), QList<window::FleetWindow *>{fleet});
    QTRY_COMPARE_WITH_TIMEOUT(fleet->state(), FleetState::Done, 30000);
    QVERIFY(QFile::exists(folder.filePath(u"прицепы-result.ods"_s)));

    const QPointer<window::FleetWindow> closed = fleet;
    fleet->close(); // gone; the next drop opens a new window
    QTRY_VERIFY(closed.isNull());
    QVERIFY(drop(w->form.get(), {csv}));
    QCOMPARE(openFleetWindows().size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(openFleetWindows().front()->state(), FleetState::Done, 30000);
    QVERIFY(w->desktop.messages.isEmpty());
}

TARIFMASTER_WINDOW_TEST_MAIN(FleetWindowTest)
#include "fleet_window_test.moc"
