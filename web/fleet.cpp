// The fleet module, run in a Web Worker: the batch mode over a file the page hands it, as
// `tarifmaster --batch FILE` runs it with the result on standard output, or for a workbook as
// `tarifmaster --batch FILE --output NAME-result.xlsx` (or .ods) writes its result. The worker puts the
// file into the module's memory and gives the batch, for its standard output, a device that hands the
// bytes to the page; a workbook result is a file of the module's memory, which the worker reads back.
#include "batch/batch.h"

#include <cstdio>
#include <emscripten/emscripten.h>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <unistd.h>
#include <vector>

// clang-format off
EM_JS(void, tm_fleet_say, (const char *line, int length), {
    postMessage({say: UTF8ToString(line, length)});
});
EM_JS(void, tm_fleet_progress, (const char *line, int length), {
    postMessage({progress: UTF8ToString(line, length)});
});
EM_JS(void, tm_fleet_progressed, (unsigned percent), {
    postMessage({percent: percent});
});
// clang-format on

namespace {

// The batch's console, as messages to the page: its lines, and for a large file its progress line and
// the share of the file read.
class WorkerConsole : public batch::Console {
public:
    void say(std::string_view line) override
    {
        tm_fleet_say(line.data(), static_cast<int>(line.size()));
    }
    bool showsProgress() const override
    {
        return true;
    }
    void progress(std::string_view line) override
    {
        tm_fleet_progress(line.data(), static_cast<int>(line.size()));
    }
    void progressed(unsigned percent) override
    {
        tm_fleet_progressed(percent);
    }
};

#if defined(TARIFMASTER_XLSX_WORK_FILES)
// Buffers of the .xlsx library's work files, given back when a list is done, by when it has closed them.
std::vector<std::unique_ptr<char[]>> workFileBuffers;
constexpr std::size_t kWorkFileBuffer = 256 * 1024;
#endif

} // namespace

extern "C" {

#if defined(TARIFMASTER_XLSX_WORK_FILES)
// The .xlsx library writes a sheet's rows into a work file a few bytes at a time, through the C
// library's buffer of 1 KB: each kilobyte was a call out of the module into its file system, a
// quarter of a million calls for 100 000 rows. The build links the library's calls for a work file
// here (--wrap), and each gets a buffer of its own.
FILE *__real_lxw_tmpfile(char *folder);
FILE *__wrap_lxw_tmpfile(char *folder)
{
    FILE *file = __real_lxw_tmpfile(folder);
    if (file != nullptr) {
        workFileBuffers.push_back(std::make_unique<char[]>(kWorkFileBuffer));
        std::setvbuf(file, workFileBuffers.back().get(), _IOFBF, kWorkFileBuffer);
    }
    return file;
}
#endif

// Computes the vehicle list in the file input: into the file output when it is named (a workbook), else
// into the device device as standard output. Returns the batch's exit status.
EMSCRIPTEN_KEEPALIVE int tm_fleet(const char *input, const char *output, const char *device)
{
    batch::Options options;
    options.input = input;
    if (*output != '\0')
        options.output = output;
    options.standardOutput = ::open(device, O_WRONLY | O_CLOEXEC);
    WorkerConsole console;
    const int status = batch::run(options, console);
    ::close(options.standardOutput);
#if defined(TARIFMASTER_XLSX_WORK_FILES)
    workFileBuffers.clear();
#endif
    return status;
}

} // extern "C"
