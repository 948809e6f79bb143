// The fleet module, run in a Web Worker: the batch mode over a file the page hands it, as the desktop's
// fleet window runs it. The worker puts the file into the module's memory; its result is written beside
// it under the name the fleet window gives it (form::resultNameOf), as a workbook of the list's kind for
// an .xlsx or .ods list, and the worker reads it back. What the fleet window shows of the run goes to
// the worker as values: the status line, the summary and the rejected rows, from the same texts
// (form/fleet_summary.h); the worker hands them to the page.
#include "batch/batch.h"
#include "form/fleet_summary.h"
#include "form/fleet_texts.h"
#include "web/list_kinds.h"

#include <cstdio>
#include <emscripten/emscripten.h>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The worker's callbacks (fleet_worker.js), each text with its length in bytes.
// clang-format off
EM_JS(void, tm_fleet_status, (const char *text, int length), {
    Module["status"](UTF8ToString(text, length));
});
EM_JS(void, tm_fleet_progressed, (unsigned percent), {
    Module["progressed"](percent);
});
EM_JS(void, tm_fleet_summary_line, (const char *caption, int captionLength, const char *value, int valueLength), {
    Module["summaryLine"](UTF8ToString(caption, captionLength), UTF8ToString(value, valueLength));
});
EM_JS(void, tm_fleet_rejected_row, (double row, const char *columns, int columnsLength, const char *reason,
                                    int reasonLength), {
    Module["rejectedRow"](row, UTF8ToString(columns, columnsLength), UTF8ToString(reason, reasonLength));
});
EM_JS(void, tm_fleet_result, (const char *more, int moreLength, const char *name, int nameLength,
                              const char *type, int typeLength), {
    Module["result"](UTF8ToString(more, moreLength), UTF8ToString(name, nameLength), UTF8ToString(type, typeLength));
});
// clang-format on

namespace {

// The batch's console, as the fleet window's: the share of the file read goes to the page's progress
// bar; the lines the console program prints are the summary's, which the page shows in its own way.
class WorkerConsole : public batch::QuietConsole {
public:
    void progressed(unsigned percent) override
    {
        tm_fleet_progressed(percent);
    }
};

void showStatus(std::string_view text)
{
    tm_fleet_status(text.data(), static_cast<int>(text.size()));
}

// A run that wrote its result: the status line, the summary, the rejected rows and the result's name
// and media type.
void showResult(const batch::RunSummary &summary, const std::string &name)
{
    showStatus(form::filledText(form::fleet_text::kDone, name));
    for (const form::SummaryLine &line : form::summaryLinesOf(summary, name))
        tm_fleet_summary_line(line.caption.data(),
            static_cast<int>(line.caption.size()),
            line.value.data(),
            static_cast<int>(line.value.size()));
    for (const batch::RejectedRow &row : summary.rejectedRows)
        tm_fleet_rejected_row(static_cast<double>(row.row),
            row.columns.data(),
            static_cast<int>(row.columns.size()),
            row.reason.data(),
            static_cast<int>(row.reason.size()));
    const std::string more = form::moreRejectedOf(summary);
    const std::string_view type = web::mediaTypeOf(form::extensionOf(name));
    tm_fleet_result(more.data(),
        static_cast<int>(more.size()),
        name.data(),
        static_cast<int>(name.size()),
        type.data(),
        static_cast<int>(type.size()));
}

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

// Computes the vehicle list in the file list, a name in the module's working folder, into its result
// beside it, and tells the worker what the fleet window would show. Returns the batch's exit status.
EMSCRIPTEN_KEEPALIVE int tm_fleet(const char *list)
{
    const std::string name = form::resultNameOf(list).string();
    showStatus(form::filledText(form::fleet_text::kRunning, list));
    batch::Options options;
    options.input = list;
    options.output = name;
    WorkerConsole console;
    const batch::RunSummary summary = batch::runSummarized(options, console);
#if defined(TARIFMASTER_XLSX_WORK_FILES)
    workFileBuffers.clear();
#endif
    if (summary.failure == batch::Failure::None)
        showResult(summary, name);
    else
        showStatus(form::notWrittenText(summary.message));
    return summary.status;
}

} // extern "C"
