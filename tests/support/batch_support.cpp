#include "support/batch_support.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace support {

namespace {

CsvReading readCsvFile(int fd, std::size_t blockSize)
{
    batch::CsvReader reader(fd, blockSize);
    CsvReading reading;
    batch::Record record;
    const auto keep = [&] {
        reading.records.push_back({CsvRow(record.cells.begin(), record.cells.end()),
            std::string(record.raw),
            record.row,
            record.unterminatedQuote});
    };
    reading.header = reader.header(record);
    reading.headerBytes = reader.bytesConsumed();
    auto status = batch::RowSource::Status::Failed;
    if (reading.header) {
        keep();
        while ((status = reader.next(record)) == batch::RowSource::Status::Record)
            keep();
    }
    if (status == batch::RowSource::Status::Failed)
        reading.problem = reader.problem("«file»");
    reading.dialect = reader.dialect();
    return reading;
}

} // namespace

void RecordingConsole::say(std::string_view line)
{
    lines.emplace_back(line);
}

bool RecordingConsole::showsProgress() const
{
    return false;
}

void RecordingConsole::progress(std::string_view)
{
}

std::string repeatedList(const std::filesystem::path &sample, std::size_t rows)
{
    const int fd = ::open(sample.c_str(), O_RDONLY);
    if (fd < 0)
        return {};
    const CsvReading reading = readCsvFile(fd, batch::CsvReader::kBlockSize);
    ::close(fd);
    const std::string lineEnd(reading.dialect.lineEnd);
    std::string list = reading.records.front().raw + lineEnd;
    for (std::size_t i = 0; i < rows; ++i)
        list += reading.records[1 + i % (reading.records.size() - 1)].raw + lineEnd;
    return list;
}

std::vector<CsvRow> readCsvRows(const std::filesystem::path &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return {};
    const CsvReading reading = readCsvFile(fd, batch::CsvReader::kBlockSize);
    ::close(fd);
    return reading.rows();
}

std::vector<CsvRow> CsvReading::rows() const
{
    std::vector<CsvRow> rows;
    for (const CsvRecord &record : records)
        rows.push_back(record.cells);
    return rows;
}

CsvReading readCsv(std::string_view text, std::size_t blockSize)
{
    const MemoryFile file(text);
    return readCsvFile(file.fd(), blockSize);
}

MemoryFile::MemoryFile()
    : m_fd(::memfd_create("csv", MFD_CLOEXEC))
{
    if (m_fd < 0)
        std::abort();
}

MemoryFile::MemoryFile(std::string_view text)
    : MemoryFile()
{
    hold(text);
}

MemoryFile::~MemoryFile()
{
    ::close(m_fd);
}

int MemoryFile::hold(std::string_view text)
{
    if (::pwrite(m_fd, text.data(), text.size(), 0) != static_cast<ssize_t>(text.size())
        || ::ftruncate(m_fd, static_cast<off_t>(text.size())) != 0 || ::lseek(m_fd, 0, SEEK_SET) != 0)
        std::abort();
    return m_fd;
}

bool sameDialect(const batch::Dialect &a, const batch::Dialect &b)
{
    return a.encoding == b.encoding && a.separator == b.separator && a.lineEnd == b.lineEnd;
}

bool StringOutput::write(std::string_view more)
{
    bytes += more;
    return true;
}

bool StringOutput::finish()
{
    return true;
}

std::string StringOutput::reason() const
{
    return {};
}

std::string StringOutput::notWritten(std::string_view) const
{
    return {};
}

} // namespace support
