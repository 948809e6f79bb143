#include "batch/csv.h"

#include "engine/utf8.h"
#include "engine/windows1251.h"
#include "report/file_writer.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <utility>

namespace batch {

namespace {

constexpr std::size_t kFlushSize = 256 * 1024;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

constexpr std::uint64_t kEveryByte = 0x0101010101010101;
constexpr std::uint64_t kHighBits = 0x8080808080808080;

// The lowest byte of word that is zero has its high bit set (bytes above it may be flagged falsely).
constexpr std::uint64_t zeroBytes(std::uint64_t word)
{
    return (word - kEveryByte) & ~word & kHighBits;
}

struct HeaderScan {
    std::size_t end; // where the header's line end is, or the data's end
    bool semicolon;  // stopped at a semicolon outside quotes, which a ','-separated header never holds
    bool complete;   // false when the data ends before the header can be told
};

// The header row as parse() reads it with separator: a quote opens a quoted cell only at the start of
// a cell, a doubled quote inside stands for one, and what follows the closing quote is text up to the
// separator. With ',', stops at the first semicolon outside quotes.
HeaderScan scanHeader(std::string_view data, char separator, bool eof)
{
    bool cellStart = true;
    bool quoted = false;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const char c = data[i];
        if (quoted) {
            if (c != '"')
                continue;
            if (i + 1 == data.size() && !eof)
                return {i, false, false}; // a doubled quote or the closing one
            if (i + 1 < data.size() && data[i + 1] == '"')
                ++i;
            else
                quoted = false;
        } else if (c == '"' && cellStart) {
            quoted = true;
            cellStart = false;
        } else if (c == separator) {
            cellStart = true;
        } else if (c == ';') {
            return {i, true, true};
        } else if (c == '\n' || c == '\r') {
            return {i, false, true};
        } else {
            cellStart = false;
        }
    }
    return {data.size(), false, eof};
}

// A header cell that has to be quoted whatever the separator, for the result to be read again in its
// dialect: the header's unquoted semicolons make a list ';'-separated, and the bytes of a byte-order
// mark at the start of the file make it UTF-8 with the mark or UTF-16.
bool quotedInHeader(std::string_view cell, bool first)
{
    return cell.find(';') != std::string_view::npos
        || (first
            && (cell.starts_with(kByteOrderMark) || cell.starts_with("\xFF\xFE")
                || cell.starts_with("\xFE\xFF")));
}

// Whether a header row's own bytes, with more cells after them, read again with separator. A
// ','-reading of a ';'-separated header takes a quote after a comma as opening a cell, which may hide
// every semicolon behind it; in the file read, rows after the header closed it in time, in the result
// they need not.
bool headerReadsAlike(std::string_view raw, char separator)
{
    return separator != ';' || scanHeader(raw, ',', true).semicolon;
}

} // namespace

// Eight bytes at a time while no separator, CR or LF is among them; the rest byte by byte.
std::size_t CsvReader::cellEnd(const char *data, std::size_t pos, std::size_t size) const
{
    if constexpr (std::endian::native == std::endian::little) {
        const std::uint64_t separators = kEveryByte * static_cast<unsigned char>(m_dialect.separator);
        for (; pos + 8 <= size; pos += 8) {
            std::uint64_t word;
            std::memcpy(&word, data + pos, sizeof word);
            const std::uint64_t found = zeroBytes(word ^ separators) | zeroBytes(word ^ (kEveryByte * '\n'))
                | zeroBytes(word ^ (kEveryByte * '\r'));
            if (found != 0)
                return pos + static_cast<std::size_t>(std::countr_zero(found)) / 8;
        }
    }
    while (pos < size && !m_ends[static_cast<unsigned char>(data[pos])])
        ++pos;
    return pos;
}

CsvReader::CsvReader(int fd, std::size_t blockSize)
    : m_fd(fd)
{
    m_block.resize(std::max<std::size_t>(blockSize, 1));
}

bool CsvReader::fill()
{
    if (m_eof || m_error != 0)
        return false;
    if (m_begin > 0) { // the unparsed tail moves to the front
        std::memmove(m_block.data(), m_block.data() + m_begin, m_end - m_begin);
        m_end -= m_begin;
        m_begin = 0;
    }
    if (m_end == m_block.size())
        m_block.resize(m_block.size() * 2); // one record longer than the block
    const std::ptrdiff_t got = report::readSome(m_fd, m_block.data() + m_end, m_block.size() - m_end);
    if (got < 0) {
        m_error = errno;
        return false;
    }
    if (got == 0)
        m_eof = true;
    m_end += static_cast<std::size_t>(got);
    return got > 0;
}

bool CsvReader::detectDialect()
{
    const std::string_view data(m_block.data() + m_begin, m_end - m_begin);
    // A comma-separated header holds a semicolon only inside quotes; a semicolon-separated one may
    // hold commas in a column's name.
    HeaderScan scan = scanHeader(data, ',', m_eof);
    const bool semicolon = scan.semicolon;
    if (semicolon)
        scan = scanHeader(data, ';', m_eof);
    if (!scan.complete)
        return false;
    const std::size_t end = scan.end;
    if (end < data.size() && data[end] == '\r') {
        if (end + 1 == data.size() && !m_eof)
            return false; // a LF may follow
        m_dialect.lineEnd = end + 1 < data.size() && data[end + 1] == '\n' ? "\r\n" : "\r";
    } else {
        m_dialect.lineEnd = "\n";
    }
    m_dialect.separator = semicolon ? ';' : ',';
    m_ends[static_cast<unsigned char>(m_dialect.separator)] = m_ends['\n'] = m_ends['\r'] = true;
    if (m_dialect.encoding != Encoding::Utf8WithBom)
        m_dialect.encoding
            = engine::isValidUtf8(data.substr(0, end)) ? Encoding::Utf8 : Encoding::Windows1251;
    return true;
}

bool CsvReader::header(Record &record)
{
    while (m_end - m_begin < kByteOrderMark.size() && fill()) { }
    const std::string_view start(m_block.data() + m_begin, m_end - m_begin);
    if (m_error == 0 && (start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF")))
        m_failure = Failure::Utf16;
    if (m_error != 0 || m_failure != Failure::None)
        return false;
    if (start.starts_with(kByteOrderMark)) {
        m_dialect.encoding = Encoding::Utf8WithBom;
        m_begin += kByteOrderMark.size();
        m_consumed += kByteOrderMark.size();
    }
    while (!detectDialect()) {
        if (m_end - m_begin >= kMaxRecordBytes) {
            m_failure = Failure::TooLong;
            return false;
        }
        if (!fill() && m_error != 0)
            return false;
    }
    const Status status = read(record);
    if (status == Status::End)
        m_failure = Failure::Empty;
    return status == Status::Record;
}

CsvReader::Status CsvReader::next(Record &record)
{
    return read(record);
}

CsvReader::Status CsvReader::read(Record &record)
{
    for (;;) {
        if (parse(record) == Parse::Complete)
            return Status::Record;
        if (m_eof)
            return Status::End;
        if (m_end - m_begin >= kMaxRecordBytes) {
            m_failure = Failure::TooLong;
            return Status::Failed;
        }
        if (!fill() && m_error != 0)
            return Status::Failed;
    }
}

std::string CsvReader::problem(std::string_view file) const
{
    switch (m_failure) {
    case Failure::Empty:
        return std::string(file) + ": файл пуст, нет строки заголовка";
    case Failure::TooLong:
        return std::string(file) + ", строка " + std::to_string(m_row + 1) + ": длиннее "
            + std::to_string(kMaxRecordBytes / (1024 * 1024)) + " МБ — вероятно, в ней не закрыта кавычка";
    case Failure::Utf16:
        return std::string(file)
            + ": файл в кодировке UTF-16; сохраните его как CSV в UTF-8 или Windows-1251";
    case Failure::None: // a read error
        break;
    }
    return readFailure(file, m_error);
}

// A cell that starts with a quote, from pos to the separator or line end behind it: the text between the
// quotes with doubled quotes made single, then what follows the closing quote, kept as spreadsheets keep
// it. False when the block ends before the cell does.
bool CsvReader::quotedCell(
    const char *data, std::size_t &pos, std::size_t size, bool &unterminated, Record &record)
{
    const std::size_t start = pos + 1;
    std::size_t offset = 0; // of the text in m_unescaped, once it has to be copied there
    bool copied = false;
    pos = start;
    for (;;) {
        const auto *quote = static_cast<const char *>(std::memchr(data + pos, '"', size - pos));
        if (!quote) {
            if (!m_eof)
                return false;
            if (copied)
                m_unescaped.append(data + pos, size - pos);
            pos = size; // never closed: the cell takes the rest of the file
            unterminated = true;
            break;
        }
        const auto at = static_cast<std::size_t>(quote - data);
        if (at + 1 == size && !m_eof)
            return false;                           // a doubled quote or the closing one
        if (at + 1 < size && data[at + 1] == '"') { // a doubled quote stands for one
            if (!copied)
                offset = m_unescaped.size();
            copied = true;
            m_unescaped.append(data + pos, at + 1 - pos);
            pos = at + 2;
            continue;
        }
        if (copied)
            m_unescaped.append(data + pos, at - pos);
        pos = at + 1;
        break;
    }
    const std::size_t closed = unterminated ? size : pos - 1; // where the quoted text ends
    const std::size_t textStart = pos;
    pos = cellEnd(data, pos, size);
    if (pos == size && !m_eof)
        return false;
    if (pos > textStart) {
        if (!copied) {
            offset = m_unescaped.size();
            m_unescaped.append(data + start, closed - start);
            copied = true;
        }
        m_unescaped.append(data + textStart, pos - textStart);
    }
    if (copied) { // placed once the row is complete, as m_unescaped may still move
        m_unescapedCells.push_back({record.cells.size(), offset, m_unescaped.size() - offset});
        record.cells.emplace_back();
    } else {
        record.cells.emplace_back(data + start, closed - start);
    }
    return true;
}

CsvReader::Parse CsvReader::parse(Record &record)
{
    const char *data = m_block.data() + m_begin;
    const std::size_t size = m_end - m_begin;
    if (size == 0)
        return Parse::NeedMore;
    const char separator = m_dialect.separator;
    record.cells.clear();
    m_unescapedCells.clear();
    m_unescaped.clear();
    bool unterminated = false;
    std::size_t pos = 0;
    std::size_t rawEnd = 0;
    for (;;) { // one cell per turn
        if (data[pos] != '"') {
            const std::size_t start = pos;
            pos = cellEnd(data, pos, size);
            if (pos == size && !m_eof)
                return Parse::NeedMore;
            record.cells.emplace_back(data + start, pos - start);
        } else if (!quotedCell(data, pos, size, unterminated, record)) {
            return Parse::NeedMore;
        }
        if (pos < size && data[pos] == separator) {
            ++pos;
            if (pos == size && !m_eof)
                return Parse::NeedMore;
            if (pos < size || !m_eof)
                continue;
            record.cells.emplace_back(data + pos, 0); // a separator last in the file ends an empty cell
            rawEnd = pos;
            break;
        }
        rawEnd = pos;
        if (pos < size && data[pos] == '\r') {
            if (pos + 1 == size && !m_eof)
                return Parse::NeedMore;
            pos += pos + 1 < size && data[pos + 1] == '\n' ? 2 : 1;
        } else if (pos < size) {
            ++pos; // '\n'
        }
        break;
    }

    for (const UnescapedCell &cell : m_unescapedCells)
        record.cells[cell.index] = std::string_view(m_unescaped.data() + cell.offset, cell.length);
    record.raw = std::string_view(data, rawEnd);
    record.row = ++m_row;
    record.unterminatedQuote = unterminated;
    m_begin += pos;
    m_consumed += pos;
    return Parse::Complete;
}

CsvWriter::CsvWriter(const Dialect &dialect, const Layout &layout, std::unique_ptr<ResultOutput> output)
    : m_dialect(dialect)
    , m_layout(layout)
    , m_identity(layout.carried.size() == layout.width)
    , m_output(std::move(output))
{
    m_out.reserve(kFlushSize + 64 * 1024);
    if (m_dialect.encoding == Encoding::Utf8WithBom)
        m_out += kByteOrderMark;
}

bool CsvWriter::row(const Record &record, std::span<const std::string_view> added)
{
    const char separator = m_dialect.separator;
    const bool header = std::exchange(m_header, false);
    if (m_identity && !record.raw.empty() && record.cells.size() <= m_layout.width
        && !record.unterminatedQuote && (!header || headerReadsAlike(record.raw, separator))) {
        // Every cell is carried in its place: the row's own bytes, quoting and all.
        m_out += record.raw;
        m_out.append(m_layout.width - record.cells.size(), separator);
        forEachTrailingCell(m_layout, record, added, [&](std::string_view text, CellOrigin) {
            m_out += separator;
            appendCell(m_out, text, separator, header && quotedInHeader(text, false));
        });
    } else {
        bool first = true;
        forEachResultCell(m_layout, record, added, [&](std::string_view text, CellOrigin) {
            if (!first)
                m_out += separator;
            appendCell(m_out, text, separator, header && quotedInHeader(text, first));
            first = false;
        });
    }
    m_out += m_dialect.lineEnd;
    return m_out.size() < kFlushSize || flush();
}

bool CsvWriter::finish()
{
    return flush() && m_output->finish();
}

std::string CsvWriter::problem() const
{
    return m_output->notWritten(m_output->reason());
}

Failure CsvWriter::trouble() const
{
    return m_output->trouble();
}

bool CsvWriter::flush()
{
    if (!m_output->write(m_out))
        return false;
    m_out.clear();
    return true;
}

void appendCell(std::string &line, std::string_view cell, char separator, bool quoted)
{
    bool quote = quoted;
    std::size_t pos = 0;
    if constexpr (std::endian::native == std::endian::little) {
        const std::uint64_t separators = kEveryByte * static_cast<unsigned char>(separator);
        for (; !quote && pos + 8 <= cell.size(); pos += 8) {
            std::uint64_t word;
            std::memcpy(&word, cell.data() + pos, sizeof word);
            quote = (zeroBytes(word ^ separators) | zeroBytes(word ^ (kEveryByte * '"'))
                        | zeroBytes(word ^ (kEveryByte * '\n')) | zeroBytes(word ^ (kEveryByte * '\r')))
                != 0;
        }
    }
    for (; !quote && pos < cell.size(); ++pos) {
        const char c = cell[pos];
        quote = c == separator || c == '"' || c == '\n' || c == '\r';
    }
    if (!quote) {
        line += cell;
        return;
    }
    line += '"';
    for (std::size_t at = cell.find('"'); at != std::string_view::npos; at = cell.find('"')) {
        line += cell.substr(0, at + 1);
        line += '"'; // doubled
        cell.remove_prefix(at + 1);
    }
    line += cell;
    line += '"';
}

} // namespace batch
