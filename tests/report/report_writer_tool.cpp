// Writes one report of the sample window into a folder, as the report button does, and prints the
// message the window would show. The failure tests run it as another user, on a full disk or under a
// file-size limit, where the test itself cannot go.
//
//   report_writer_tool text|doc FOLDER TOTAL
//
// Exit status: 0 written, 1 not written, 2 wrong arguments.
#include "report/report.h"
#include "report_input.h"

#include <csignal>
#include <cstdio>
#include <string_view>

int main(int argc, char **argv)
{
    // Past a file-size limit a write fails with EFBIG instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);

    const std::string_view kind = argc > 1 ? argv[1] : "";
    if ((kind != "text" && kind != "doc") || argc != 4) {
        std::fputs("usage: report_writer_tool text|doc FOLDER TOTAL\n", stderr);
        return 2;
    }
    report::ReportInput input = report::testing::sampleInput();
    input.total = argv[3];
    const report::WriteResult result = kind == "text"
        ? report::writeTextReport(input, argv[2])
        : report::writeDocumentReport(input, argv[2], report::testing::samplePicture());
    const std::string message = result.ok ? report::savedMessage(result) : report::failureMessage(result);
    std::printf("%s\n", message.c_str());
    return result.ok ? 0 : 1;
}
