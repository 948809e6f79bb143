// The batch mode end to end: a spreadsheet file on disk in, the result file or the program's output
// and exit status out.
#include "batch/batch.h"
#include "batch/csv.h"
#include "batch/workbook.h"
#include "engine/windows1251.h"
#include "support/batch_support.h"
#include "support/files.h"
#include "tarifmaster/version.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace support;
using Row = CsvRow;

// A cell as a spreadsheet writes it: quoted, with quotes doubled, when it holds the separator, a quote
// or a line break.
std::string csvCell(const std::string &cell, char separator)
{
    if (cell.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string::npos)
        return cell;
    std::string out = "\"";
    for (const char c : cell)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string csvLine(const Row &cells, char separator, const std::string &lineEnd)
{
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i)
        line += (i > 0 ? std::string(1, separator) : std::string()) + csvCell(cells[i], separator);
    return line + lineEnd;
}

// Four vehicles whose premiums are the worked examples of the tariff, one per way of reading a row.
const Row kHeader = {"Примечание", "Категория", "ТБ", "КТ", "Класс", "КВС", "КО", "КМ", "КС", "КП", "КН"};
// clang-format off
const std::vector<Row> kVehicles = {
    {"Иванов, \"такси\"; смена 1\nвторая строка", "легковой", "физических лиц", "Москва", "3",
     "до 22 лет включительно со стажем вождения до 2 лет включительно", "управлению транспортным средством",
     "свыше 70 до 95 включительно", "6 месяцев", "6 месяцев", "1"},
    {"", "грузовой", "грузоподъемностью до 10 т", "Омск", "3", "от 22 лет и старше со стажем вождения свыше 2 лет",
     "управлению транспортным средством", "", "6 месяцев", "6 месяцев", "1"},
    {"прицеп", "прицеп", "прицепы к легковым автомобилям", "Москва", "", "", "", "", "6 месяцев", "", ""},
    {"", "иностранный", "юридических лиц", "", "", "", "", "свыше 70 до 95 включительно", "", "6 месяцев", ""},
};
const std::vector<std::pair<std::string, std::string>> kComputed = {
    {"ТБ=1980; КТ=2; КБМ=1; КВС=1,3; КО=1; КМ=1; КС=0,7; КП=0,7; КН=1", "2522,52"},
    {"ТБ=2025; КТ=1,3; КБМ=1; КВС=1; КО=1; КС=0,7; КП=0,7; КН=1", "1289,925"},
    {"ТБ=395; КТ=2; КС=0,7", "553"},
    {"ТБ=2375; КТ=2; КВС=1,3; КМ=1; КП=0,7", "4322,5"},
};
// clang-format on

} // namespace

TEST(Batch, EveryDialectComesBackInItsOwnForm)
{
    struct Variant {
        const char *name;
        batch::Encoding encoding;
        char separator;
        std::string lineEnd;
    };
    const Variant variants[] = {
        {"UTF-8, semicolons, LF", batch::Encoding::Utf8, ';', "\n"},
        {"UTF-8 with BOM, semicolons, CR LF", batch::Encoding::Utf8WithBom, ';', "\r\n"},
        {"UTF-8, commas, CR LF", batch::Encoding::Utf8, ',', "\r\n"},
        {"Windows-1251, semicolons, CR LF", batch::Encoding::Windows1251, ';', "\r\n"},
        {"Windows-1251, commas, LF", batch::Encoding::Windows1251, ',', "\n"},
    };
    const TempFolder folder;
    for (const Variant &v : variants) {
        SCOPED_TRACE(v.name);
        std::string input = csvLine(kHeader, v.separator, v.lineEnd);
        Row columns = kHeader;
        columns.insert(columns.end(), {"Коэффициенты", "Страховая премия", "Ошибка"});
        std::string expected = csvLine(columns, v.separator, v.lineEnd);
        for (std::size_t i = 0; i < kVehicles.size(); ++i) {
            const std::string line = csvLine(kVehicles[i], v.separator, v.lineEnd);
            input += line;
            expected += line.substr(0, line.size() - v.lineEnd.size());
            expected += csvLine({"", kComputed[i].first, kComputed[i].second, ""}, v.separator, v.lineEnd);
        }
        Row total(kHeader.size() + 3);
        total[1] = "ИТОГО";
        total[kHeader.size() + 1] = "8687,945";
        total[kHeader.size() + 2] = "рассчитано 4, отклонено 0";
        expected += csvLine(total, v.separator, v.lineEnd);
        if (v.encoding == batch::Encoding::Windows1251) {
            input = engine::toWindows1251(input);
            expected = engine::toWindows1251(expected);
        } else if (v.encoding == batch::Encoding::Utf8WithBom) {
            input.insert(0, "\xEF\xBB\xBF");
            expected.insert(0, "\xEF\xBB\xBF");
        }
        writeFile(folder.path() / "in.csv", input);

        RecordingConsole console;
        ASSERT_EQ(
            batch::run({folder.path() / "in.csv", folder.path() / "out.csv"}, console), batch::kAllComputed);
        EXPECT_EQ(readFile(folder.path() / "out.csv"), expected);
        // A result read again gives itself: its result columns and total row are replaced, not added.
        ASSERT_EQ(batch::run({folder.path() / "out.csv", folder.path() / "again.csv"}, console), 0);
        EXPECT_EQ(readFile(folder.path() / "again.csv"), expected);
    }
}

TEST(Batch, BadRowsAreNamedAndTheRestIsComputed)
{
    // clang-format off
    const Row header = {"Категория", "ТБ", "КТ", "Тип ТС", "Класс", "Выплаты", "КБМ", "КВС", "КО", "КМ", "КС", "КП",
        "КН", "Исключить КП"};
    // clang-format on
    const auto car = [&](std::map<std::string, std::string> changes) {
        // clang-format off
        Row row = {"легковой", "физических лиц", "Москва", "", "3", "", "",
            "от 22 лет и старше со стажем вождения свыше 2 лет", "управлению транспортным средством",
            "свыше 70 до 95 включительно", "более 9 месяцев", "", "1", "да"};
        // clang-format on
        for (const auto &[column, value] : changes)
            row[static_cast<std::size_t>(std::find(header.begin(), header.end(), column) - header.begin())]
                = value;
        return row;
    };
    struct Case {
        Row row;
        std::string premium; // empty: rejected with error
        std::string error;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {car({{"КТ", "Новосибрск"}}), "", "строка 2, столбец «КТ»: населенный пункт «Новосибрск» не найден"},
        {car({{"КТ", "  москва "}}), "3960", ""},
        {car({{"КТ", "Орёл"}}), "1980", ""},
        {car({{"Тип ТС", "трактора"}}), "2376", ""},
        {car({{"КМ", "1.3"}}), "", "строка 6, столбец «КМ»: «1.3» — не число: десятичный разделитель — запятая"},
        {car({{"КМ", "100"}}), "", "строка 7, столбец «КМ»: коэффициент 100 вне диапазона тарифа: от 0,5 до 1,9"},
        {car({{"Выплаты", "5"}}), "", "строка 8, столбец «Выплаты»: число выплат «5» вне диапазона от 0 до 4"},
        {car({{"КБМ", "1"}}), "", "строка 9, столбцы «Класс» и «КБМ»: указаны и класс, и коэффициент — оставьте что-то одно"},
        {car({{"Категория", "грузовой"}, {"КВС", ""}}), "",
         "строка 10, столбец «КВС»: пусто, а для категории «грузовой» коэффициент КВС нужен"},
        {car({{"Категория", "грузовой"}, {"КМ", "мусор"}}), "3960", ""},
        {car({{"Категория", "самокат"}}), "",
         "строка 12, столбец «Категория»: категория «самокат» не найдена: укажите легковой, грузовой, прицеп, "
         "автобус или иностранный"},
        {car({{"Класс", "М"}, {"Выплаты", "0"}}), "9108", ""}, // a Cyrillic М is class M; after the term class 0
        {Row(header.size()), "", ""},                        // blank: carried through, not counted
        {car({{"Исключить КП", "нет"}}), "", "строка 15, столбец «КП»: пусто, а для категории «легковой» коэффициент КП нужен"},
        {car({{"КТ", "Марс"}, {"КМ", "x"}}), "",
         "строка 16, столбец «КТ»: населенный пункт «Марс» не найден; столбец «КМ»: мощность двигателя «x» не найдена"},
        {car({{"Категория", "итого"}}), "", ""}, // the total of an earlier run: left out
    };
    // clang-format on
    std::string input = csvLine(header, ';', "\n");
    for (const Case &c : cases)
        input += csvLine(c.row, ';', "\n");
    input += "легковой;\"физических лиц;Москва\n"; // a quote never closed, last in the file
    // The same in Windows-1251: its cells are looked up unconverted, and converted for a loose match
    // and for the messages.
    for (const bool windows1251 : {false, true}) {
        SCOPED_TRACE(windows1251 ? "Windows-1251" : "UTF-8");
        const TempFolder folder;
        writeFile(folder.path() / "in.csv", windows1251 ? engine::toWindows1251(input) : input);

        RecordingConsole console;
        ASSERT_EQ(
            batch::run({folder.path() / "in.csv", folder.path() / "out.csv"}, console), batch::kSomeRejected);
        if (windows1251)
            writeFile(
                folder.path() / "out.csv", engine::fromWindows1251(readFile(folder.path() / "out.csv")));
        const std::vector<Row> rows = readCsvRows(folder.path() / "out.csv");
        ASSERT_EQ(rows.size(), cases.size() + 2); // the header and the new total; the old total left out
        for (std::size_t i = 0; i + 1 < cases.size(); ++i) {
            SCOPED_TRACE("row " + std::to_string(i + 2));
            EXPECT_EQ(rows[i + 1][header.size() + 1], cases[i].premium);
            EXPECT_EQ(rows[i + 1][header.size() + 2], cases[i].error);
        }
        EXPECT_TRUE(rows[cases.size()][header.size() + 2].starts_with(
            "строка 18: кавычка, открытая в этой строке, не закрыта до конца файла; "));
        const Row &total = rows.back();
        EXPECT_EQ(total[0], "ИТОГО");
        EXPECT_EQ(total[header.size() + 1], "21384"); // 3960 + 1980 + 2376 + 3960 + 9108
        EXPECT_EQ(total[header.size() + 2], "рассчитано 5, отклонено 10");
        ASSERT_FALSE(console.lines.empty());
        EXPECT_EQ(console.lines.front(), cases[0].error);
        EXPECT_EQ(console.lines.back(),
            "рассчитано 5, отклонено 10, сумма премий 21384; результат записан в «"
                + (folder.path() / "out.csv").string() + "»");
    }
}

TEST(Batch, UnusableFilesStopWithOneMessageAndWriteNothing)
{
    const TempFolder folder;
    const fs::path out = folder.path() / "out.csv";
    writeFile(out, "прежний результат");
    writeFile(folder.path() / "empty.csv", "");
    writeFile(folder.path() / "nocategory.csv", "Марка;ТБ\nВАЗ;1980\n");
    writeFile(folder.path() / "twice.csv", "Категория;КТ;ТБ;кт\n");
    writeFile(folder.path() / "good.csv", "Категория;ТБ;КТ;КС\nприцеп;395;2;0,7\n");
    writeFile(folder.path() / "utf16.csv", std::string("\xFF\xFE\x1A\x04", 4));
    fs::create_directory(folder.path() / "folder");
    struct Case {
        std::string file;
        fs::path output;
        std::string message;
    };
    const std::string dir = folder.path().string();
    const Case cases[] = {
        {"missing.csv", out, "не удалось прочитать «" + dir + "/missing.csv»: файл не найден"},
        {"", out, "не удалось прочитать «" + dir + "/»: это папка, а не файл"},
        {"empty.csv", out, "«" + dir + "/empty.csv»: файл пуст, нет строки заголовка"},
        {"nocategory.csv", out, "«" + dir + "/nocategory.csv»: в первой строке нет столбца «Категория»"},
        {"twice.csv", out, "«" + dir + "/twice.csv»: столбец «КТ» указан дважды: 2-й и 4-й столбцы"},
        {"utf16.csv",
            out,
            "«" + dir
                + "/utf16.csv»: файл в кодировке UTF-16; сохраните его как CSV в UTF-8 или Windows-1251"},
        {"good.csv",
            folder.path() / "folder",
            "не удалось записать «" + dir + "/folder»: на месте файла находится папка; файл не изменен"},
        {"good.csv",
            folder.path() / "no-such-folder" / "out.csv",
            "не удалось записать «" + dir + "/no-such-folder/out.csv»: папка не найдена; файл не изменен"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        RecordingConsole console;
        EXPECT_EQ(batch::run({folder.path() / c.file, c.output}, console), batch::kNotRead);
        ASSERT_EQ(console.lines.size(), 1u);
        EXPECT_TRUE(console.lines[0].starts_with("tarifmaster: " + c.message)) << console.lines[0];
        EXPECT_EQ(readFile(out), "прежний результат");
    }
    EXPECT_EQ(listFolder(folder.path()),
        (std::vector<std::string>{
            "empty.csv", "folder", "good.csv", "nocategory.csv", "out.csv", "twice.csv", "utf16.csv"}));
}

// The desktop program's --batch and the batch program, with a display that cannot be opened: the batch
// mode must never need one. Both take the same arguments and give the same statuses and messages; the
// batch program also takes the file alone and answers --version.
TEST(Batch, TheProgramsAnswerWithTheirExitStatus)
{
    const TempFolder folder;
    std::string clean = csvLine(kHeader, ';', "\n");
    for (const Row &row : kVehicles)
        clean += csvLine(row, ';', "\n");
    writeFile(folder.path() / "clean.csv", clean);
    struct Program {
        std::string command;
        bool desktop;
    };
    std::vector<Program> programs = {{TARIFMASTER_BATCH_PROGRAM, false}};
#ifdef TARIFMASTER_PROGRAM
    programs.push_back({"env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb " TARIFMASTER_PROGRAM, true});
#endif
    struct Case {
        std::string arguments;
        int status;
        std::string output; // the beginning of what the program writes, standard error after standard output
    };
    const std::string cleanFile = quoted(folder.path() / "clean.csv");
    for (const Program &program : programs) {
        SCOPED_TRACE(program.command);
        std::vector<Case> cases = {
            {"--batch " + cleanFile, 0, "Примечание;Категория;"},
            {"--batch=" + quoted(TARIFMASTER_SAMPLE) + " --output " + quoted(folder.path() / "sample.csv"),
                1,
                "строка 11, столбец «КТ»: населенный пункт «Новосибрск» не найден\nрассчитано 10, отклонено 1"},
            {"--batch " + quoted(folder.path() / "missing.csv"), 2, "tarifmaster: не удалось прочитать"},
            {"--output " + quoted(folder.path() / "x.csv"),
                2,
                program.desktop ? "tarifmaster: не указан файл: --batch ФАЙЛ.csv"
                                : "tarifmaster: не указан файл: tarifmaster-batch ФАЙЛ.csv"},
            {"--batch --help",
                0,
                program.desktop ? "Расчет премий для списка транспортных средств"
                                : "Использование: tarifmaster-batch ФАЙЛ.csv [--output ИТОГ.csv]\n"},
        };
        if (!program.desktop) {
            cases.push_back({cleanFile + " --output " + quoted(folder.path() / "clean-result.csv"),
                0,
                "рассчитано 4, отклонено 0"});
            cases.push_back({"-v", 0, tarifmaster::kVersionLine});
            cases.push_back({cleanFile + " " + cleanFile, 2, "tarifmaster: лишний аргумент «"});
        }
        for (const Case &c : cases) {
            SCOPED_TRACE(c.arguments);
            const auto result = runCommand(program.command + " " + c.arguments);
            EXPECT_EQ(result.status, c.status) << result.output;
            EXPECT_TRUE(result.output.starts_with(c.output)) << result.output;
        }
        EXPECT_TRUE(
            readFile(folder.path() / "sample.csv")
                .ends_with(";ИТОГО" + std::string(15, ';') + "33136,1315;рассчитано 10, отклонено 1\n"));
        fs::remove(folder.path() / "sample.csv");
    }
}

// What a window's console gets: the share of the file read although it is no terminal, the stop asked
// for every few hundred rows, and the run's end as values, its rejected rows kept up to the cap. A stop,
// at the first question or at the last one while the result is completed, leaves no result and no work
// file, and the earlier result as it was, whatever the result is.
TEST(Batch, AWindowFollowsTheRunStopsItAndGetsItsEndAsValues)
{
    class WindowConsole : public RecordingConsole {
    public:
        // Stops from the question numbered stopAt on (never: 0); slow: a run long enough to report.
        WindowConsole(std::size_t stopAt, bool slow)
            : m_stopAt(stopAt)
            , m_slow(slow)
        {
        }
        void progressed(unsigned percent) override
        {
            percents.push_back(percent);
        }
        bool stopRequested() override
        {
            if (m_slow)
                std::this_thread::sleep_for(std::chrono::milliseconds(3));
            return ++asked >= m_stopAt && m_stopAt != 0;
        }
        std::vector<unsigned> percents;
        std::size_t asked = 0;

    private:
        std::size_t m_stopAt;
        bool m_slow;
    };
    const Row refused = {"", "самокат", "", "", "", "", "", "", "", "", ""};
    constexpr std::size_t kRows = 24000; // every other one rejected
    std::string list = csvLine(kHeader, ';', "\n");
    for (std::size_t i = 0; i < kRows; ++i)
        list += csvLine(i % 2 == 1 ? refused : kVehicles[i / 2 % kVehicles.size()], ';', "\n");
    const TempFolder folder;
    const fs::path work = folder.path() / "work";
    fs::create_directory(work);
    const TemporaryFilesIn workFiles(work);
    writeFile(folder.path() / "list.csv", list);

    WindowConsole console(0, true);
    const batch::RunSummary summary
        = batch::runSummarized({folder.path() / "list.csv", folder.path() / "out.csv"}, console);
    EXPECT_EQ(summary.status, batch::kSomeRejected);
    EXPECT_EQ(summary.failure, batch::Failure::None);
    EXPECT_EQ(summary.computed, kRows / 2);
    EXPECT_EQ(summary.rejected, kRows / 2);
    EXPECT_EQ(summary.written, folder.path() / "out.csv");
    const std::vector<Row> rows = readCsvRows(folder.path() / "out.csv");
    EXPECT_EQ(summary.total, rows.back()[kHeader.size() + 1]);
    ASSERT_EQ(summary.rejectedRows.size(), batch::kRejectedRowsKept);
    const std::string &error = rows[2][kHeader.size() + 2];
    EXPECT_EQ(error, "строка 3, столбец «Категория»: " + summary.rejectedRows.front().reason);
    EXPECT_EQ(summary.rejectedRows.front().row, 3u);
    EXPECT_EQ(summary.rejectedRows.front().columns, "Категория");
    EXPECT_EQ(summary.rejectedRows.back().row, 2 * batch::kRejectedRowsKept + 1);
    EXPECT_GE(console.asked, kRows / 256);
    ASSERT_FALSE(console.percents.empty());
    EXPECT_TRUE(std::is_sorted(console.percents.begin(), console.percents.end()));
    EXPECT_LE(console.percents.back(), 100u);

    std::vector<std::string> outputs = {"out.csv"};
    if (batch::workbooksSupported())
        outputs.insert(outputs.end(), {"out.xlsx", "out.ods"});
    for (const std::string &output : outputs) {
        SCOPED_TRACE(output);
        WindowConsole counting(0, false);
        ASSERT_EQ(
            batch::run({folder.path() / "list.csv", folder.path() / output}, counting), batch::kSomeRejected);
        writeFile(folder.path() / output, "прежний результат");
        const std::vector<std::string> before = listFolder(folder.path());
        for (const std::size_t stopAt : {std::size_t{1}, counting.asked}) {
            SCOPED_TRACE(stopAt);
            WindowConsole stopping(stopAt, false);
            const batch::RunSummary stopped
                = batch::runSummarized({folder.path() / "list.csv", folder.path() / output}, stopping);
            EXPECT_EQ(stopped.status, batch::kNotRead);
            EXPECT_EQ(stopped.failure, batch::Failure::Stopped);
            EXPECT_TRUE(stopping.lines.empty());
            EXPECT_EQ(readFile(folder.path() / output), "прежний результат");
            EXPECT_EQ(listFolder(folder.path()), before);
            EXPECT_TRUE(listFolder(work).empty());
        }
    }
}
