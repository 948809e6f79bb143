// The batch mode's side of the tests: a console that keeps what the batch says, and a result file
// read back row by row.
#pragma once

#include "batch/batch.h"

#include <filesystem>
#include <string>
#include <vector>

namespace support {

class RecordingConsole : public batch::Console {
public:
    void say(std::string_view line) override;
    bool showsProgress() const override;
    void progress(std::string_view line) override;

    std::vector<std::string> lines;
};

// The rows of a file as the batch reads it, the header first; row i is row i + 1 of a spreadsheet.
using CsvRow = std::vector<std::string>;
std::vector<CsvRow> readCsvRows(const std::filesystem::path &path);

} // namespace support
