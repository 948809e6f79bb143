// Computes a vehicle list in the desktop's fleet window, for the browser test, which computes the same
// list on the page and compares what both show and save.
//
//   fleet_replay LIST
//
// The fleet form runs over plain data (support::RecordingFleet) with the batch, its result written
// beside the list as the window writes it. The window names the result with its whole path; for a list
// named without its folder the folder is left out of what is printed, as the page names the result.
// Afterwards what the window shows is printed: "status=TEXT", "summary=CAPTION\tVALUE" for each line of the
// summary, "rejected=ROW\tCOLUMNS\tREASON" for each rejected row, and "more=TEXT" (a line break of a text as
// "\n"). Exit status: 0 the result written, 1 not, 2 wrong arguments.
#include "support/recording_fleet.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

// The folder of a list named without one, as the window's texts spell it: what the page leaves out.
std::string g_folder;

void print(std::string_view name, std::string_view given)
{
    std::string text(given);
    for (std::size_t at; !g_folder.empty() && (at = text.find(g_folder)) != std::string::npos;)
        text.erase(at, g_folder.size());
    std::string line(name);
    line += '=';
    for (const char c : text)
        line += c == '\n' ? std::string("\\n") : std::string(1, c);
    std::printf("%s\n", line.c_str());
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("usage: fleet_replay LIST\n", stderr);
        return 2;
    }
    if (!std::filesystem::path(argv[1]).has_parent_path())
        g_folder = (std::filesystem::absolute(argv[1]).parent_path() / "").string();
    support::RecordingFleet window;
    window.form.compute(argv[1]);
    if (!window.settle())
        return 1;
    print("status", window.status);
    for (const form::SummaryLine &line : window.summary)
        print("summary", std::string(line.caption) + '\t' + line.value);
    for (const batch::RejectedRow &row : window.rejectedRows)
        print("rejected", std::to_string(row.row) + '\t' + row.columns + '\t' + row.reason);
    print("more", window.moreRejected);
    return window.form.state() == form::FleetState::Done ? 0 : 1;
}
