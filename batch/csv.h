// Spreadsheet files as people save them: UTF-8 with or without a byte-order mark or Windows-1251, cells
// separated by ';' (what Russian spreadsheets write) or ',', quoted cells with doubled quotes and line
// breaks inside, CR LF or LF line ends. The header row decides it all: its unquoted separators, its line
// end, and whether its bytes are valid UTF-8.
//
// The reader streams: it holds one block of the file and the record being read, never the whole file.
// Cells stay in the file's encoding; the caller converts the ones it reads.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace batch {

enum class Encoding {
    Utf8,
    Utf8WithBom,
    Windows1251,
};

struct Dialect {
    Encoding encoding = Encoding::Utf8;
    char separator = ';';
    std::string_view lineEnd = "\n"; // "\r\n", "\n" or "\r", as the header row ends
};

// One record: the cells of one spreadsheet row.
struct Record {
    std::vector<std::string_view> cells; // valid until the next read
    std::string_view raw;                // the record's bytes as the file holds them, without the line end
    std::size_t row = 0;                 // as a spreadsheet numbers it: the header is row 1
    bool unterminatedQuote = false;      // a quoted cell ran on to the end of the file
    std::vector<bool> numbers;           // of a workbook's row: which cells were numbers
};

// Longest record the reader accepts; longer ones mean a quote was never closed.
inline constexpr std::size_t kMaxRecordBytes = 16 * 1024 * 1024;

class CsvReader {
public:
    enum class Status {
        Record,    // a record was read
        End,       // no more records
        ReadError, // the file could not be read: error()
        TooLong,   // a record is longer than kMaxRecordBytes
        Utf16,     // the file starts with a UTF-16 byte-order mark: not a file this reader takes
    };

    explicit CsvReader(int fd); // reads fd from its current position; does not close it
    CsvReader(const CsvReader &) = delete;
    CsvReader &operator=(const CsvReader &) = delete;

    // The first record, which also decides the dialect. End for an empty file.
    Status readHeader(Record &record);
    Status next(Record &record);

    const Dialect &dialect() const
    {
        return m_dialect;
    }
    int error() const
    {
        return m_error;
    }
    std::uint64_t bytesConsumed() const
    {
        return m_consumed;
    }

private:
    struct Span {
        std::size_t offset;
        std::size_t length;
        bool unescaped; // in m_unescaped rather than in the block
    };
    enum class Parse { Complete, NeedMore };

    bool fill(); // reads more of the file behind the unparsed part; false on a read error or at the end
    Parse parse(Record &record);
    Status read(Record &record);
    bool quotedCell(const char *data, std::size_t &pos, std::size_t size, bool &unterminated);
    std::size_t cellEnd(const char *data, std::size_t pos, std::size_t size) const;
    bool detectDialect(); // needs the whole header in the block; false when it has to read more

    int m_fd;
    int m_error = 0;
    bool m_eof = false;
    Dialect m_dialect;
    std::string m_block; // read bytes; [m_begin, m_end) is not parsed yet
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    std::uint64_t m_consumed = 0;
    std::size_t m_row = 0;
    std::string m_unescaped; // cells that held doubled quotes, without them
    std::vector<Span> m_spans;
    std::array<bool, 256> m_ends{}; // bytes that end an unquoted cell: the separator, CR and LF
};

// Appends a text of the program's own, given in UTF-8, as a file of the encoding holds it.
void appendEncoded(std::string &out, std::string_view utf8, Encoding encoding);

// Appends a cell as the dialect writes it: in quotes, with quotes doubled, when it holds the separator,
// a quote or a line break.
void appendCell(std::string &line, std::string_view cell, char separator);

} // namespace batch
