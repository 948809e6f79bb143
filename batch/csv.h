// Spreadsheet files as people save them: UTF-8 with or without a byte-order mark or Windows-1251, cells
// separated by ';' (what Russian spreadsheets write) or ',', quoted cells with doubled quotes and line
// breaks inside, CR LF or LF line ends. The header row decides it all: its unquoted separators, its line
// end, and whether its bytes are valid UTF-8. A result is written back in the same form.
//
// The reader streams: it holds one block of the file and the record being read, never the whole file.
// Cells stay in the file's encoding; the caller converts the ones it reads.
#pragma once

#include "batch/columns.h"
#include "batch/rows.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace batch {

class CsvReader : public RowSource {
public:
    static constexpr std::size_t kBlockSize = 1024 * 1024;

    // Reads fd from its current position, blockSize bytes at a time; does not close it.
    explicit CsvReader(int fd, std::size_t blockSize = kBlockSize);
    CsvReader(const CsvReader &) = delete;
    CsvReader &operator=(const CsvReader &) = delete;

    // The first record, which also decides the dialect.
    bool header(Record &record) override;
    Status next(Record &record) override;
    const Dialect &dialect() const override
    {
        return m_dialect;
    }
    std::string problem(std::string_view file) const override;
    std::uint64_t bytesConsumed() const override
    {
        return m_consumed;
    }

private:
    enum class Failure {
        None,    // none, or a read error: m_error
        Empty,   // no header: the file is empty
        TooLong, // a record is longer than kMaxRecordBytes
        Utf16,   // the file starts with a UTF-16 byte-order mark: not a file this reader takes
    };
    struct UnescapedCell { // a cell of the record whose text is in m_unescaped rather than in the block
        std::size_t index;
        std::size_t offset;
        std::size_t length;
    };
    enum class Parse { Complete, NeedMore };

    bool fill(); // reads more of the file behind the unparsed part; false on a read error or at the end
    Parse parse(Record &record);
    Status read(Record &record);
    bool quotedCell(const char *data, std::size_t &pos, std::size_t size, bool &unterminated, Record &record);
    std::size_t cellEnd(const char *data, std::size_t pos, std::size_t size) const;
    bool detectDialect(); // needs the whole header in the block; false when it has to read more

    int m_fd;
    int m_error = 0;
    Failure m_failure = Failure::None;
    bool m_eof = false;
    Dialect m_dialect;
    std::string m_block; // read bytes; [m_begin, m_end) is not parsed yet
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    std::uint64_t m_consumed = 0;
    std::size_t m_row = 0;
    std::string m_unescaped; // cells that held doubled quotes, without them
    std::vector<UnescapedCell> m_unescapedCells;
    std::array<bool, 256> m_ends{}; // bytes that end an unquoted cell: the separator, CR and LF
};

// A result as CSV in dialect: the rows as the input writes them, with its separator and line end, a
// byte-order mark first when the dialect has one, handed to output a large piece at a time.
class CsvWriter : public RowSink {
public:
    CsvWriter(const Dialect &dialect, const Layout &layout, std::unique_ptr<ResultOutput> output);

    bool row(const Record &record, std::span<const std::string_view> added) override;
    bool finish() override;
    std::string problem() const override;
    Failure trouble() const override;

private:
    bool flush();

    Dialect m_dialect;
    const Layout &m_layout;
    bool m_identity;      // every column is carried, none taken out
    bool m_header = true; // the next row is the header
    std::unique_ptr<ResultOutput> m_output;
    std::string m_out; // the result not yet handed to the output
};

// Appends a cell as the dialect writes it: in quotes, with quotes doubled, when it holds the separator,
// a quote or a line break, or when quoted says so.
void appendCell(std::string &line, std::string_view cell, char separator, bool quoted = false);

} // namespace batch
