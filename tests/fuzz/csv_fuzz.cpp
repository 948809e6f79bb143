// Feeds arbitrary bytes to the CSV reader as a file (after a first byte that chooses the variant), and
// checks what must always hold:
// - rows are numbered 1, 2, 3 ...; the header ends with the line end the dialect names, and its own
//   bytes decide the encoding;
// - a result the CSV writer makes of the rows (the header with the added columns' names, the last
//   column taken out when the first byte is odd) reads back as the cells written, in the same dialect.
// Nothing may crash, leak, overflow or read out of bounds. The rows are checked and written as the
// reader hands them out, not copied, which keeps a run short; csv_blocks_fuzz reads the same inputs in
// blocks of 1 to 16 bytes.
#include "batch/csv.h"
#include "engine/utf8.h"
#include "support/batch_support.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
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

// A result the CSV writer makes of the rows as they are read, and the cells each of its rows has to
// read back as, kept one after another.
class Result {
public:
    Result(const batch::Dialect &dialect, std::size_t width, bool takeOutLast);

    void add(const batch::Record &record);         // the header first
    void checkReadBack(support::MemoryFile &file); // once every row is added; file holds the result

private:
    batch::Dialect m_dialect;
    batch::Layout m_layout;
    std::string m_names[3]; // of the added columns, in the dialect's encoding
    const std::string *m_written = nullptr;
    std::optional<batch::CsvWriter> m_writer;
    bool m_header = true;
    std::string m_cells;                 // the expected cells, one after another
    std::vector<std::size_t> m_cellEnds; // in m_cells
    std::vector<std::size_t> m_rowEnds;  // in m_cellEnds
};

Result::Result(const batch::Dialect &dialect, std::size_t width, bool takeOutLast)
    : m_dialect(dialect)
{
    m_layout.width = width;
    for (std::size_t i = 0; i + (takeOutLast ? 1 : 0) < width; ++i)
        m_layout.carried.push_back(i);
    for (std::size_t i = 0; i < 3; ++i)
        batch::appendEncoded(m_names[i], batch::columnName(batch::kWrittenColumns[i]), dialect.encoding);
    auto output = std::make_unique<support::StringOutput>();
    m_written = &output->bytes;
    m_writer.emplace(dialect, m_layout, std::move(output));
}

void Result::add(const batch::Record &record)
{
    const std::string_view headerAdded[] = {m_names[0], m_names[1], m_names[2]};
    const std::string_view rowAdded[] = {"", "1,3", ""};
    const auto added = m_header ? std::span(headerAdded) : std::span(rowAdded);
    m_header = false;
    check(m_writer->row(record, added));
    batch::forEachResultCell(m_layout, record, added, [&](std::string_view text, batch::CellOrigin) {
        m_cells += text;
        m_cellEnds.push_back(m_cells.size());
    });
    m_rowEnds.push_back(m_cellEnds.size());
}

void Result::checkReadBack(support::MemoryFile &file)
{
    check(m_writer->finish());
    batch::CsvReader reader(file.hold(*m_written), m_written->size() + 1);
    batch::Record record;
    check(reader.header(record) && support::sameDialect(reader.dialect(), m_dialect));
    std::size_t cell = 0;
    for (std::size_t row = 0; row < m_rowEnds.size(); ++row) {
        check(row == 0 || reader.next(record) == Status::Record);
        check(record.cells.size() == m_rowEnds[row] - cell);
        for (const std::string_view text : record.cells) {
            const std::size_t start = cell == 0 ? 0 : m_cellEnds[cell - 1];
            check(text == std::string_view(m_cells).substr(start, m_cellEnds[cell] - start));
            ++cell;
        }
    }
    check(reader.next(record) == Status::End);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view file(reinterpret_cast<const char *>(data + 1), size - 1);
    static support::MemoryFile input; // one file each for all runs, which saves making and closing them
    static support::MemoryFile written;
    batch::CsvReader reader(input.hold(file), file.size() + 1); // in one block
    batch::Record record;
    if (!reader.header(record))
        return 0;
    checkHeader(file, reader, record);
    const bool takeOutLast = data[0] % 2 == 1;
    std::optional<Result> result;
    if (!takeOutLast || record.cells.size() >= 2)
        result.emplace(reader.dialect(), record.cells.size(), takeOutLast);
    Status status = Status::Record;
    for (std::size_t row = 1; status == Status::Record; ++row) {
        check(record.row == row);
        if (result)
            result->add(record);
        status = reader.next(record);
    }
    if (result && status == Status::End)
        result->checkReadBack(written);
    return 0;
}
