// Feeds arbitrary bytes to the CSV reader as a file (after a first byte that chooses the variant), and
// checks what must always hold:
// - rows are numbered 1, 2, 3 ...; the header ends with the line end the dialect names, and its own
//   bytes decide the encoding;
// - a result the CSV writer makes of the rows (the header with the added columns' names, the last
//   column taken out when the first byte is odd) reads back as the cells written, in the same dialect.
// Nothing may crash, leak, overflow or read out of bounds. Rows are checked and written as the reader
// hands them out, and the result is read back beside the list read again, so that no row is copied and
// a run stays short also when a wide header makes the result large; csv_blocks_fuzz reads the same
// inputs in blocks of 1 to 16 bytes.
#include "batch/csv.h"
#include "engine/utf8.h"
#include "support/batch_support.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>

namespace {

using Status = batch::RowSource::Status;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// The header as read: it ends with the line end the dialect names, and its own bytes decide the encoding.
void checkHeader(std::string_view file, const batch::CsvReader &reader, const batch::Record &header)
{
    const batch::Dialect &dialect = reader.dialect();
    const std::size_t mark = dialect.encoding == batch::Encoding::Utf8WithBom ? 3 : 0;
    const std::size_t cells = mark + header.raw.size();
    const std::string_view ended = file.substr(cells, reader.bytesConsumed() - cells);
    check(ended.empty() || ended == dialect.lineEnd);
    if (dialect.encoding != batch::Encoding::Utf8WithBom)
        check((dialect.encoding == batch::Encoding::Utf8) == engine::isValidUtf8(header.raw));
}

// What a result adds to each row: the names of its three columns, in the list's encoding, to the
// header, and a factor to every other row.
class AddedCells {
public:
    explicit AddedCells(batch::Encoding encoding)
    {
        for (std::size_t i = 0; i < 3; ++i) {
            batch::appendEncoded(m_names[i], batch::columnName(batch::kWrittenColumns[i]), encoding);
            m_header[i] = m_names[i];
        }
    }
    AddedCells(const AddedCells &) = delete;
    AddedCells &operator=(const AddedCells &) = delete;

    std::span<const std::string_view> of(std::size_t row) const
    {
        return row == 1 ? std::span(m_header) : std::span(m_row);
    }

private:
    std::string m_names[3];
    std::string_view m_header[3];
    std::string_view m_row[3] = {"", "1,3", ""};
};

batch::Layout resultLayout(std::size_t width, bool takeOutLast)
{
    batch::Layout layout;
    layout.width = width;
    for (std::size_t i = 0; i + (takeOutLast ? 1 : 0) < width; ++i)
        layout.carried.push_back(i);
    return layout;
}

// The result read back beside the list read again, a row of each at a time: the same number of rows,
// each with the cells the writer was given for its row, in the list's dialect.
void checkReadBack(
    batch::CsvReader &list, batch::CsvReader &result, const batch::Layout &layout, const AddedCells &added)
{
    batch::Record row;
    batch::Record back;
    check(list.header(row) && result.header(back) && support::sameDialect(result.dialect(), list.dialect()));
    Status status = Status::Record;
    while (status == Status::Record) {
        std::size_t cell = 0;
        batch::forEachResultCell(
            layout, row, added.of(row.row), [&](std::string_view text, batch::CellOrigin) {
                check(cell < back.cells.size() && back.cells[cell++] == text);
            });
        check(cell == back.cells.size());
        status = list.next(row);
        check(result.next(back) == status);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view file(reinterpret_cast<const char *>(data + 1), size - 1);
    static support::MemoryFile input; // one file each for all runs, which saves making and closing them
    static support::MemoryFile output;
    batch::CsvReader reader(input.hold(file), file.size() + 1); // in one block
    batch::Record record;
    if (!reader.header(record))
        return 0;
    checkHeader(file, reader, record);
    const bool takeOutLast = data[0] % 2 == 1;
    const bool written = !takeOutLast || record.cells.size() >= 2; // a column has to be left
    const batch::Layout layout = resultLayout(record.cells.size(), takeOutLast);
    const AddedCells added(reader.dialect().encoding);
    auto sink = std::make_unique<support::StringOutput>();
    const std::string &result = sink->bytes;
    batch::CsvWriter writer(reader.dialect(), layout, std::move(sink));
    Status status = Status::Record;
    for (std::size_t row = 1; status == Status::Record; ++row) {
        check(record.row == row);
        check(!written || writer.row(record, added.of(row)));
        status = reader.next(record);
    }
    if (!written || status != Status::End)
        return 0;
    check(writer.finish());
    batch::CsvReader list(input.hold(file), file.size() + 1); // from the start again
    batch::CsvReader back(output.hold(result), result.size() + 1);
    checkReadBack(list, back, layout, added);
    return 0;
}
