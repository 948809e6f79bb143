// Feeds arbitrary bytes to the CSV reader as a file (after a first byte that chooses the variant), and
// checks what must always hold:
// - read in blocks of 1 to 16 bytes, the file gives the same rows, dialect and failure as read whole;
// - rows are numbered 1, 2, 3 ...; the header ends with the line end the dialect names, and its own
//   bytes decide the encoding;
// - a result the CSV writer makes of the rows (the header with the added columns' names, the last
//   column taken out when the first byte is odd) reads back as the cells written, in the same dialect.
// Nothing may crash, leak, overflow or read out of bounds.
#include "batch/csv.h"
#include "engine/utf8.h"
#include "support/batch_support.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool sameDialect(const batch::Dialect &a, const batch::Dialect &b)
{
    return a.encoding == b.encoding && a.separator == b.separator && a.lineEnd == b.lineEnd;
}

// The rows written as a result and read again.
void checkRoundTrip(const support::CsvReading &reading, bool takeOutLast)
{
    const std::size_t width = reading.records.front().cells.size();
    if (takeOutLast && width < 2)
        return;
    batch::Layout layout;
    layout.width = width;
    for (std::size_t i = 0; i + (takeOutLast ? 1 : 0) < width; ++i)
        layout.carried.push_back(i);
    std::string names[3];
    for (std::size_t i = 0; i < 3; ++i)
        batch::appendEncoded(
            names[i], batch::columnName(batch::kWrittenColumns[i]), reading.dialect.encoding);
    const std::string_view headerAdded[] = {names[0], names[1], names[2]};
    const std::string_view rowAdded[] = {"", "1,3", ""};

    auto output = std::make_unique<support::StringOutput>();
    const std::string &written = output->bytes;
    batch::CsvWriter writer(reading.dialect, layout, std::move(output));
    std::vector<support::CsvRow> expected;
    for (const support::CsvRecord &row : reading.records) {
        batch::Record record;
        record.cells.assign(row.cells.begin(), row.cells.end());
        record.raw = row.raw;
        record.row = row.row;
        record.unterminatedQuote = row.unterminatedQuote;
        const auto added = &row == &reading.records.front() ? std::span(headerAdded) : std::span(rowAdded);
        check(writer.row(record, added));
        auto &cells = expected.emplace_back();
        batch::forEachResultCell(layout, record, added, [&](std::string_view text, batch::CellOrigin) {
            cells.emplace_back(text);
        });
    }
    check(writer.finish());
    const support::CsvReading again = support::readCsv(written, written.size() + 1);
    check(again.header && again.problem.empty() && sameDialect(again.dialect, reading.dialect));
    check(again.rows() == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view file(reinterpret_cast<const char *>(data + 1), size - 1);
    const support::CsvReading whole = support::readCsv(file, file.size() + 1); // in one block
    const support::CsvReading pieces = support::readCsv(file, 1 + data[0] % 16);
    check(pieces.header == whole.header && sameDialect(pieces.dialect, whole.dialect)
        && pieces.records == whole.records && pieces.problem == whole.problem
        && pieces.headerBytes == whole.headerBytes);

    for (std::size_t i = 0; i < whole.records.size(); ++i)
        check(whole.records[i].row == i + 1);
    if (!whole.header)
        return 0;
    const support::CsvRecord &header = whole.records.front();
    const std::size_t mark = whole.dialect.encoding == batch::Encoding::Utf8WithBom ? 3 : 0;
    const std::string_view ended
        = file.substr(mark + header.raw.size(), whole.headerBytes - mark - header.raw.size());
    check(ended.empty() || ended == whole.dialect.lineEnd);
    if (whole.dialect.encoding != batch::Encoding::Utf8WithBom)
        check((whole.dialect.encoding == batch::Encoding::Utf8) == engine::isValidUtf8(header.raw));
    if (whole.problem.empty())
        checkRoundTrip(whole, data[0] % 2 == 1);
    return 0;
}
