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

#include "batch/rows.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// Where the batch speaks to its user: standard error in the program, a window's worker in a window.
// The batch calls it on the thread that runs it.
class Console {
public:
    virtual ~Console() = default;
    virtual void say(std::string_view line) = 0;
    // True on a terminal, where a progress line may be rewritten in place.
    virtual bool showsProgress() const = 0;
    // Replaces the progress line; an empty text removes it.
    virtual void progress(std::string_view line) = 0;
    // The share of the file read, for a front that draws a bar: at most five times a second while the
    // rows are read, whatever the console is and however small the file.
    virtual void progressed(unsigned percent)
    {
        static_cast<void>(percent);
    }
    // Asked between rows, every few hundred of them, and while the result is completed: true ends the
    // run where it stands, within a second even on a million rows (the packing of an .xlsx result, which
    // its library does in one call, aside). A stopped run writes no result: an earlier result file stays
    // as it was, and no work file is left behind.
    virtual bool stopRequested()
    {
        return false;
    }
};

// A console that prints nothing: a window's, which shows the progress and the end in its own way.
class QuietConsole : public Console {
public:
    void say(std::string_view /*line*/) override
    {
    }
    bool showsProgress() const override
    {
        return false;
    }
    void progress(std::string_view /*line*/) override
    {
    }
};

// Files of at least this size show the progress line on a terminal.
inline constexpr std::uintmax_t kProgressFileSize = 8 * 1024 * 1024;

// A row the batch rejected, as a window lists it; the same as its "Ошибка" cell says.
struct RejectedRow {
    std::uint64_t row = 0; // as the spreadsheet numbers it, the header being row 1
    std::string columns; // the columns its first problem names ("КТ", "Класс, КБМ"); empty for the row
    std::string reason; // what is wrong there, then the row's further problems
};

// Rejected rows a summary keeps; the rest are counted.
inline constexpr std::size_t kRejectedRowsKept = 10000;

// A run's end as values, for a front that shows it rather than prints it. The console hears the same
// lines as ever.
struct RunSummary {
    int status = kNotRead;
    Failure failure = Failure::None;
    std::uint64_t computed = 0;
    std::uint64_t rejected = 0;            // all of them; rejectedRows holds the first kRejectedRowsKept
    std::string total;                     // the sum of the premiums as the "ИТОГО" row gives it; empty
                                           // when it is too large to compute
    std::vector<RejectedRow> rejectedRows; // in the order of the list
    std::string message;                   // why nothing was written (not for Stopped), one sentence
    std::filesystem::path written;         // the --output file, once written
};

int run(const Options &options, Console &console);

// The same run, its end as values.
RunSummary runSummarized(const Options &options, Console &console);

// Whether the program's command line asks for the batch mode (--batch or --output).
bool asksForBatch(int argc, char **argv);

// The program's command line: runs the batch mode when argv asks for it (asksForBatch) and returns its
// exit status, or nothing when the window is wanted. Never touches a display.
std::optional<int> runFromCommandLine(int argc, char **argv);

// The command line of tarifmaster-batch, the batch mode as a program of its own: the desktop program's
// arguments after --batch (the file, --output), or the same with --batch; --help and --version as well.
// Returns the exit status.
int runBatchProgram(int argc, char **argv);

// The batch mode's part of the desktop program's --help, in Russian.
std::string_view helpText();

} // namespace batch
