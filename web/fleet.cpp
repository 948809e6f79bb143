// The fleet module, run in a Web Worker: the batch mode over a file the page hands it, as
// `tarifmaster --batch FILE` runs it with the result on standard output. The worker puts the file into
// the module's memory and gives the batch, for its output, a device that hands the bytes to the page.
#include "batch/batch.h"

#include <emscripten/emscripten.h>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>

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

} // namespace

extern "C" {

// Computes the vehicle list in the file input and writes the result into the device output; returns
// the batch's exit status.
EMSCRIPTEN_KEEPALIVE int tm_fleet(const char *input, const char *output)
{
    batch::Options options;
    options.input = input;
    options.standardOutput = ::open(output, O_WRONLY | O_CLOEXEC);
    WorkerConsole console;
    const int status = batch::run(options, console);
    ::close(options.standardOutput);
    return status;
}

} // extern "C"
