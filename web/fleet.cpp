// The fleet module, run in a Web Worker: the batch mode over a file the page hands it. The worker mounts
// the user's file read-only (WORKERFS reads it as the batch streams through it), and the result is
// written into the module's memory file system, from where the worker hands it back to the page.
#include "batch/batch.h"

#include <emscripten/emscripten.h>
#include <string_view>

// clang-format off
EM_JS(void, tm_fleet_say, (const char *line, int length), {
    postMessage({say: UTF8ToString(line, length)});
});
EM_JS(void, tm_fleet_progress, (const char *line, int length), {
    postMessage({progress: UTF8ToString(line, length)});
});
// clang-format on

namespace {

// The batch's console, as messages to the page: its lines, and its progress line for large files.
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
};

} // namespace

extern "C" {

// Computes the vehicle list in the file input into the file output, as `tarifmaster --batch input
// --output output` does; returns the batch's exit status.
EMSCRIPTEN_KEEPALIVE int tm_fleet(const char *input, const char *output)
{
    batch::Options options;
    options.input = input;
    options.output = output;
    WorkerConsole console;
    return batch::run(options, console);
}

} // extern "C"
