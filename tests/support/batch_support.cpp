#include "support/batch_support.h"

#include "batch/csv.h"

#include <fcntl.h>
#include <unistd.h>

namespace support {

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

std::vector<CsvRow> readCsvRows(const std::filesystem::path &path)
{
    std::vector<CsvRow> rows;
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return rows;
    batch::CsvReader reader(fd);
    batch::Record record;
    if (reader.header(record))
        do
            rows.emplace_back(record.cells.begin(), record.cells.end());
        while (reader.next(record) == batch::RowSource::Status::Record);
    ::close(fd);
    return rows;
}

} // namespace support
