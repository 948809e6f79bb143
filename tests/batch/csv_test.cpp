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
