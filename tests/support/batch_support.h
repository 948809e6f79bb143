// The batch mode's side of the tests: a console that keeps what the batch says, and a CSV text or file
// read back row by row.
#pragma once

#include "batch/batch.h"
#include "batch/csv.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace support {

class RecordingConsole : public batch::Console {
public:
    void say(std::string_view line) override;
    bool showsProgress() const override;
    void progress(std::string_view line) override;

    std::vector<std::string> lines;
};

// A list of rows vehicles: the header of the text list sample, then its rows over and over.
std::string repeatedList(const std::filesystem::path &sample, std::size_t rows);

// The rows of a file as the batch reads it, the header first; row i is row i + 1 of a spreadsheet.
using CsvRow = std::vector<std::string>;
std::vector<CsvRow> readCsvRows(const std::filesystem::path &path);

// Everything the CSV reader makes of a text, read blockSize bytes at a time.
struct CsvRecord {
    CsvRow cells;
    std::string raw;
    std::size_t row = 0;
    bool unterminatedQuote = false;
    bool operator==(const CsvRecord &) const = default;
};
struct CsvReading {
    bool header = false; // false when the text has no header: problem
    batch::Dialect dialect;
    std::vector<CsvRecord> records; // the header first
    std::string problem;            // why reading stopped, about a file quoted as «file»
    std::uint64_t headerBytes = 0;  // bytes read up to the end of the header row
    std::vector<CsvRow> rows() const;
};
CsvReading readCsv(std::string_view text, std::size_t blockSize = batch::CsvReader::kBlockSize);

// A file in memory for the readers to take, open at the start of the text it was last given; closed with
// the object. A fuzz target keeps one for all its runs and gives it each input in turn.
class MemoryFile {
public:
    MemoryFile();
    explicit MemoryFile(std::string_view text);
    ~MemoryFile();
    MemoryFile(const MemoryFile &) = delete;
    MemoryFile &operator=(const MemoryFile &) = delete;

    // Makes text the file's whole content, and its start the place the next read begins.
    int hold(std::string_view text);
    int fd() const
    {
        return m_fd;
    }

private:
    int m_fd;
};

// Same encoding, separator and line end.
bool sameDialect(const batch::Dialect &a, const batch::Dialect &b);

// The CSV writer's output, kept.
class StringOutput : public batch::ResultOutput {
public:
    bool write(std::string_view bytes) override;
    bool finish() override;
    std::string reason() const override;
    std::string notWritten(std::string_view reason) const override;

    std::string bytes;
};

} // namespace support
