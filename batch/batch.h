// The batch mode: a list of vehicles in a spreadsheet file, one per row, computed as the window would
// compute each of them, without a window and without a display.
//
//   tarifmaster --batch FILE.csv [--output OUT.csv]
//   tarifmaster-batch FILE.csv [--output OUT.csv]     (the same without the window; batch/main_*.cpp)
//
// The file's rows are read as it streams in, from a text file or a workbook (rows.h; formats.h chooses
// the reader by the file's content and the writer by the output's name), its header row names the
// columns (columns.h), each row's cells are looked up in the engine's tables and multiplied by the
// engine's formula (vehicle_row.h, tables.h), and the same rows come out with the factors used, the
// premium and the reason for a rejected row, then a total row. The output keeps the input's encoding,
// separator and line ends. With --output the result replaces the file only once it is complete;
// otherwise it goes to standard output.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace batch {

struct Options {
    std::filesystem::path input;
    std::optional<std::filesystem::path> output; // standard output when not given
    int standardOutput = 1;                      // where the result goes without --output
};

// Exit statuses of the batch mode.
inline constexpr int kAllComputed = 0;
inline constexpr int kSomeRejected = 1;
inline constexpr int kNotRead = 2; // the file cannot be read or written, or its header is not usable

// Where the batch speaks to its user: standard error in the program.
class Console {
public:
    virtual ~Console() = default;
    virtual void say(std::string_view line) = 0;
    // True on a terminal, where a progress line may be rewritten in place.
    virtual bool showsProgress() const = 0;
    // Replaces the progress line; an empty text removes it.
    virtual void progress(std::string_view line) = 0;
    // The share of the file read when the progress line is replaced, for a front that draws a bar.
    virtual void progressed(unsigned percent)
    {
        static_cast<void>(percent);
    }
};

// Files of at least this size show progress on a terminal.
inline constexpr std::uintmax_t kProgressFileSize = 8 * 1024 * 1024;

int run(const Options &options, Console &console);

// The program's command line: runs the batch mode when argv asks for it (--batch or --output) and
// returns its exit status, or nothing when the window is wanted. Never touches a display.
std::optional<int> runFromCommandLine(int argc, char **argv);

// The command line of tarifmaster-batch, the batch mode as a program of its own: the desktop program's
// arguments after --batch (the file, --output), or the same with --batch; --help and --version as well.
// Returns the exit status.
int runBatchProgram(int argc, char **argv);

// The batch mode's part of the desktop program's --help, in Russian.
std::string_view helpText();

} // namespace batch
