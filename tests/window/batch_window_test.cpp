// The batch mode against the window: every vehicle of the sample list that the batch computes is
// entered into Form1 by clicks, as a user would choose the same entries, and "ОК" must show the premium
// the batch wrote.
#include "batch/batch.h"
#include "batch/tables.h"
#include "engine/base_rates.h"
#include "engine/fixed_point.h"
#include "engine/premium.h"
#include "engine/territory.h"
#include "support/batch_support.h"
#include "support/window_fixture.h"
#include "support/window_test_main.h"

#include <QTemporaryDir>
#include <QTest>

#include <map>

using namespace Qt::StringLiterals;

namespace {

bool isFactor(const std::string &text)
{
    return static_cast<bool>(engine::parseFactorText(text));
}

// The moves of a user that choose what a row of the list says, as WindowFixture::play takes them.
QStringList movesFor(const std::map<std::string, std::string> &row)
{
    const auto cell = [&row](const char *column) {
        const auto at = row.find(column);
        return at == row.end() ? std::string() : at->second;
    };
    // A step's cell: its entry chosen in the step's list or drop-down, or its factor typed into the field.
    const auto step = [&cell](const char *column, const char *chooser, const char *field) -> QStringList {
        const std::string text = cell(column);
        if (text.empty())
            return {};
        if (isFactor(text) && !QString::fromLatin1(chooser).startsWith(QLatin1String("Combo4")))
            return {u"%1=%2"_s.arg(QLatin1String(field), fromUtf8(text))};
        return {u"%1:%2"_s.arg(QLatin1String(chooser), fromUtf8(text))};
    };

    QStringList moves;
    const std::string territory = cell("КТ");
    if (cell("Тип ТС") == "трактора")
        moves << u"#Option2"_s;
    if (isFactor(territory)) {
        moves << u"Text3=%1"_s.arg(fromUtf8(territory));
    } else if (!territory.empty()) {
        using engine::TerritoryList;
        const std::pair<TerritoryList, const char *> lists[] = {{TerritoryList::Moscow, "List6"},
            {TerritoryList::MoscowRegion, "List7"},
            {TerritoryList::Petersburg, "List8"},
            {TerritoryList::SmallSettlements, "List9"}};
        QString list = u"List5"_s;
        for (const auto &[id, name] : lists)
            if (engine::contains(engine::territoryEntries(id), territory))
                list = QLatin1String(name);
        if (list == u"List5") // a town: found by typing its name
            moves << u"Text2=%1"_s.arg(fromUtf8(territory));
        moves << u"%1:%2"_s.arg(list, fromUtf8(territory));
    }

    const std::string rate = cell("ТБ");
    if (isFactor(rate)) {
        moves << u"txtTb=%1"_s.arg(fromUtf8(rate));
    } else if (!rate.empty()) {
        using engine::RateList;
        const char *list = engine::findBaseRate(RateList::Cars, rate) ? "List1"
            : engine::findBaseRate(RateList::Motorcycles, rate)       ? "List3"
                                                                      : "List2";
        moves << u"%1:%2"_s.arg(QLatin1String(list), fromUtf8(rate));
    }

    if (!cell("Класс").empty())
        moves << u"Combo1:%1"_s.arg(fromUtf8(cell("Класс")));
    if (!cell("Выплаты").empty())
        moves << u"#Option11"_s << u"Combo5:%1"_s.arg(fromUtf8(cell("Выплаты")));
    moves << step("КБМ", "", "Text4") << step("КВС", "List10", "Text5") << step("КО", "List11", "Text6")
          << step("КМ", "List12", "Text7") << step("КС", "Combo2", "Text8") << step("КП", "Combo3", "Text9")
          << step("КН", "Combo4", "Combo4");
    if (cell("Исключить КП") == "да")
        moves << u"#Check1"_s;

    for (std::size_t i = 0; i < engine::kCategoryCount; ++i) {
        const auto category = static_cast<engine::Category>(i);
        if (cell("Категория") == batch::categoryWord(category)
            || cell("Категория") == engine::categoryCaption(category))
            moves << u"#Option%1"_s.arg(i + 3);
    }
    return moves << u"#Command2"_s;
}

} // namespace

class BatchWindowTest : public QObject {
    Q_OBJECT

private slots:
    void sampleListGivesTheWindowsPremiums_data();
    void sampleListGivesTheWindowsPremiums();
};

void BatchWindowTest::sampleListGivesTheWindowsPremiums_data()
{
    QTest::addColumn<QStringList>("moves");
    QTest::addColumn<QString>("premium");

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const std::string result = folder.filePath(u"result.csv"_s).toStdString();
    support::RecordingConsole console;
    QCOMPARE(batch::run({TARIFMASTER_SAMPLE, result}, console), batch::kSomeRejected);

    const std::vector<support::CsvRow> rows = support::readCsvRows(result);
    QVERIFY(!rows.empty());
    int computed = 0;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        std::map<std::string, std::string> row;
        for (std::size_t i = 0; i < rows[0].size() && i < rows[r].size(); ++i)
            row[rows[0][i]] = rows[r][i];
        if (row["Страховая премия"].empty() || row["Категория"] == "ИТОГО")
            continue;
        ++computed;
        QTest::addRow("строка %zu", r + 1) << movesFor(row) << fromUtf8(row["Страховая премия"]);
    }
    QCOMPARE(computed, 10); // every computed row of the sample
}

void BatchWindowTest::sampleListGivesTheWindowsPremiums()
{
    QFETCH(QStringList, moves);
    QFETCH(QString, premium);
    WindowFixture w;
    QVERIFY(w.exposed);
    QCOMPARE(w.play(moves + QStringList{u"Text10?"_s + premium}), QString());
    QVERIFY(w.desktop.messages.isEmpty());
}

TARIFMASTER_WINDOW_TEST_MAIN(BatchWindowTest)
#include "batch_window_test.moc"
