// The CSV reader and writer on their own: what a file's bytes read as, in blocks of any size, and what a
// result row is written as and read back.
#include "batch/csv.h"
#include "engine/windows1251.h"
#include "support/batch_support.h"

#include <gtest/gtest.h>

namespace {

using support::CsvRow;
using support::readCsv;

struct DialectCase {
    batch::Encoding encoding;
    char separator;
    std::string_view lineEnd;
};

void expectDialect(const batch::Dialect &dialect, const DialectCase &expected)
{
    EXPECT_EQ(dialect.encoding, expected.encoding);
    EXPECT_EQ(dialect.separator, expected.separator);
    EXPECT_EQ(dialect.lineEnd, expected.lineEnd);
}

constexpr auto kUtf8 = batch::Encoding::Utf8;

} // namespace

// Each text read whole and in blocks of 1 to 7 bytes, so that every cell, quote and line end also falls
// across the end of a block.
TEST(CsvReader, ReadsCellsAsSpreadsheetsWriteThem)
{
    struct Case {
        std::string name;
        std::string text;
        std::vector<CsvRow> rows;
        DialectCase dialect;
    };
    const std::string windows1251 = engine::toWindows1251("Категория;ТБ\r\nприцеп;395\r\n");
    // clang-format off
    const Case cases[] = {
        {"one cell, no line end", "Категория", {{"Категория"}}, {kUtf8, ',', "\n"}},
        {"a separator last in the file ends an empty cell", "a;b\nx;", {{"a", "b"}, {"x", ""}}, {kUtf8, ';', "\n"}},
        {"an empty line is one empty cell", "a;b\n\nx;y\n", {{"a", "b"}, {""}, {"x", "y"}}, {kUtf8, ';', "\n"}},
        {"CR LF", "a;b\r\nx;y\r\n", {{"a", "b"}, {"x", "y"}}, {kUtf8, ';', "\r\n"}},
        {"CR alone", "a;b\rx;y\r", {{"a", "b"}, {"x", "y"}}, {kUtf8, ';', "\r"}},
        {"rows end where they end, whatever the header's line end", "a;b\nx;y\r\nz;w\rv",
         {{"a", "b"}, {"x", "y"}, {"z", "w"}, {"v"}}, {kUtf8, ';', "\n"}},
        {"quoted cells", "\"a\";\"b\"\n\"\";y\n", {{"a", "b"}, {"", "y"}}, {kUtf8, ';', "\n"}},
        {"doubled quotes", "a;\"say \"\"hi\"\"\"\n\"\"\"\";b\n", {{"a", "say \"hi\""}, {"\"", "b"}}, {kUtf8, ';', "\n"}},
        {"line breaks inside quotes", "a;\"1\r\n2\"\r\n\"x\ny\";\"\r\"\r\n",
         {{"a", "1\r\n2"}, {"x\ny", "\r"}}, {kUtf8, ';', "\r\n"}},
        {"text after the closing quote is kept", "\"ab\"c;d\n", {{"abc", "d"}}, {kUtf8, ';', "\n"}},
        {"a quote inside a cell is text, also in the header", "a;15\";b\r\nx;5\"\"\r\n",
         {{"a", "15\"", "b"}, {"x", "5\"\""}}, {kUtf8, ';', "\r\n"}},
        {"a quote never closed takes the rest of the file", "a;b\nx;\"y\nz;w", {{"a", "b"}, {"x", "y\nz;w"}},
         {kUtf8, ';', "\n"}},
        {"commas: a semicolon in quotes is text", "a,\"b;c\"\nx,\"1,3\"\n", {{"a", "b;c"}, {"x", "1,3"}},
         {kUtf8, ',', "\n"}},
        {"semicolons: a comma is text", "a,1;b\n\"x;\",1,3\n", {{"a,1", "b"}, {"x;,1,3"}}, {kUtf8, ';', "\n"}},
        {"a semicolon after a quoted cell", "\"a\";b\n", {{"a", "b"}}, {kUtf8, ';', "\n"}},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBFКатегория;ТБ\n", {{"Категория", "ТБ"}},
         {batch::Encoding::Utf8WithBom, ';', "\n"}},
        {"Windows-1251", windows1251, {{"\xCA\xE0\xF2\xE5\xE3\xEE\xF0\xE8\xFF", "\xD2\xC1"}, {"\xEF\xF0\xE8\xF6\xE5\xEF", "395"}},
         {batch::Encoding::Windows1251, ';', "\r\n"}},
        {"the header alone decides the encoding", "a;b\n\xEF\xF0\xE8\xF6\xE5\xEF;1\n",
         {{"a", "b"}, {"\xEF\xF0\xE8\xF6\xE5\xEF", "1"}}, {kUtf8, ';', "\n"}},
    };
    // clang-format on
    for (const Case &c : cases) {
        for (const std::size_t block :
            {batch::CsvReader::kBlockSize, std::size_t{1}, std::size_t{2}, std::size_t{7}}) {
            SCOPED_TRACE(c.name + ", blocks of " + std::to_string(block));
            const support::CsvReading reading = readCsv(c.text, block);
            ASSERT_TRUE(reading.header) << reading.problem;
            EXPECT_EQ(reading.problem, "");
            EXPECT_EQ(reading.rows(), c.rows);
            expectDialect(reading.dialect, c.dialect);
            for (std::size_t i = 0; i < reading.records.size(); ++i)
                EXPECT_EQ(reading.records[i].row, i + 1);
        }
    }
}

TEST(CsvReader, RefusesWhatItCannotRead)
{
    const std::string endless(17 * 1024 * 1024, 'x');
    const std::string tooLong = ": длиннее 16 МБ — вероятно, в ней не закрыта кавычка";
    const std::pair<std::string, std::string> cases[] = {
        {"", "«file»: файл пуст, нет строки заголовка"},
        {"\xEF\xBB\xBF", "«file»: файл пуст, нет строки заголовка"},
        {"\xFF\xFE\x1A\x04",
            "«file»: файл в кодировке UTF-16; сохраните его как CSV в UTF-8 или Windows-1251"},
        {"\xFE\xFF\x04\x1A",
            "«file»: файл в кодировке UTF-16; сохраните его как CSV в UTF-8 или Windows-1251"},
        {"\"" + endless, "«file», строка 1" + tooLong},
        {"a;b\r\nx;\"" + endless, "«file», строка 2" + tooLong},
    };
    for (const auto &[text, problem] : cases) {
        SCOPED_TRACE(text.substr(0, 12));
        EXPECT_EQ(readCsv(text).problem, problem);
    }
}

// Rows written by the CSV writer, with a column taken out as in a result read again, read back as the
// cells written and in the writer's dialect, whatever the cells hold.
TEST(CsvWriter, RowsReadBackAsWritten)
{
    const DialectCase dialects[] = {
        {kUtf8, ';', "\n"},
        {batch::Encoding::Utf8WithBom, ';', "\r\n"},
        {kUtf8, ',', "\r\n"},
        {batch::Encoding::Windows1251, ',', "\n"},
        {batch::Encoding::Windows1251, ';', "\r"},
    };
    // clang-format off
    const std::vector<CsvRow> rows = {
        {"яюКатегория", "Заметка; прочее", "Ошибка", "ТБ \"старый\""}, // the header; "Ошибка" is taken out
        {"", "", "", ""},
        {" a ", "a;b", "x", "a,b"},
        {"say \"hi\"", "1\r\n2", "x", "\r"},
        {"\n", "\"", "x", "Москва"},
    };
    // clang-format on
    batch::Layout layout;
    layout.width = 4;
    layout.carried = {0, 1, 3};
    for (const DialectCase &d : dialects) {
        SCOPED_TRACE(std::string(1, d.separator) + " " + std::to_string(d.lineEnd.size()));
        const auto encoded = [&](const std::string &text) {
            return d.encoding == batch::Encoding::Windows1251 ? engine::toWindows1251(text) : text;
        };
        auto output = std::make_unique<support::StringOutput>();
        const std::string &written = output->bytes;
        batch::CsvWriter writer({d.encoding, d.separator, d.lineEnd}, layout, std::move(output));
        std::vector<CsvRow> expected;
        for (const CsvRow &row : rows) {
            CsvRow cells;
            for (const std::string &cell : row)
                cells.push_back(encoded(cell));
            batch::Record record;
            record.cells.assign(cells.begin(), cells.end());
            const std::string added = encoded(expected.empty() ? "Коэффициенты" : "1,3");
            ASSERT_TRUE(writer.row(record, std::array<std::string_view, 1>{added}));
            expected.push_back({cells[0], cells[1], cells[3], added});
        }
        ASSERT_TRUE(writer.finish());
        const support::CsvReading again = readCsv(written);
        EXPECT_EQ(again.rows(), expected) << written;
        expectDialect(again.dialect, d);
    }
}

// A list read, written with every column carried and one added, and read again: the header's and rows'
// own bytes are kept where they read back alike, and the result reads as the list's cells in its dialect.
TEST(CsvWriter, ResultReadsBackInTheListsDialect)
{
    struct Case {
        std::string name;
        std::string text;
        DialectCase dialect;
    };
    const Case cases[] = {
        {"quoted header cells", "\"a\";\"b;c\"\r\nx;\"y\"\r\n", {kUtf8, ';', "\r\n"}},
        {"commas, a semicolon in quotes", "a,\"b;c\"\nx,y\n", {kUtf8, ',', "\n"}},
        // Read with commas, the header's quote after a comma runs into the second row and closes before
        // a semicolon there; the result's second row is quoted otherwise and must not leave it open.
        {"a quote after a comma in a semicolon header",
            "a,\"b\nx;\"y\"z,\"w\nv;\"t\";s\n",
            {kUtf8, ';', "\n"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const support::CsvReading reading = readCsv(c.text);
        batch::Layout layout;
        layout.width = reading.records.front().cells.size();
        for (std::size_t i = 0; i < layout.width; ++i)
            layout.carried.push_back(i);
        auto output = std::make_unique<support::StringOutput>();
        const std::string &written = output->bytes;
        batch::CsvWriter writer(reading.dialect, layout, std::move(output));
        std::vector<CsvRow> expected;
        for (const support::CsvRecord &row : reading.records) {
            batch::Record record;
            record.cells.assign(row.cells.begin(), row.cells.end());
            record.raw = row.raw;
            record.unterminatedQuote = row.unterminatedQuote;
            const std::array<std::string_view, 1> added = {expected.empty() ? "Коэффициенты" : "1,3"};
            ASSERT_TRUE(writer.row(record, added));
            auto &cells = expected.emplace_back();
            batch::forEachResultCell(layout, record, added, [&](std::string_view text, batch::CellOrigin) {
                cells.emplace_back(text);
            });
        }
        ASSERT_TRUE(writer.finish());
        const support::CsvReading again = readCsv(written);
        EXPECT_EQ(again.rows(), expected) << written;
        expectDialect(again.dialect, c.dialect);
    }
}
