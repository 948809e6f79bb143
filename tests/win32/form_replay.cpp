// Plays a user's moves on the form over plain data (support::RecordingForm), for the Wine tests of the
// Windows window, which play the same moves there and compare the fields after each.
//
//   form_replay MOVE...                  after each move, one line: the move, then "NAME=TEXT" for every
//                                        text box the form writes, separated by tabs
//   form_replay --entries LIST MOVE...   the entries LIST offers after the moves, one a line
//
// Moves are RecordingForm's ("List1:физических лиц", "Combo3:15 дней", "Text2=ом", "#Option11"). Exit
// status: 0 played, 1 a move could not be made, 2 wrong arguments.
#include "support/recording_form.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The text boxes whose text only the form writes: not the town search, which the user types.
void printFields(const support::RecordingForm &form, const std::string &move)
{
    std::string line = move;
    for (const form::ControlRow &row : form::controlRows())
        if (row.kind == form::Kind::TextBox && row.name != "Text2") {
            line += '\t';
            line.append(row.name).append("=").append(form.control(row.name).text);
        }
    std::printf("%s\n", line.c_str());
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const bool entries = !arguments.empty() && arguments.front() == "--entries";
    if (entries && arguments.size() < 2) {
        std::fputs("usage: form_replay [--entries LIST] MOVE...\n", stderr);
        return 2;
    }
    const std::size_t first = entries ? 2 : 0;
    support::RecordingForm form({"08.12.2026", "10:20:30"});
    for (std::size_t i = first; i < arguments.size(); ++i) {
        if (const std::string failed = form.play({arguments[i]}); !failed.empty()) {
            std::fprintf(stderr, "form_replay: %s\n", failed.c_str());
            return 1;
        }
        if (!entries)
            printFields(form, arguments[i]);
    }
    if (entries)
        for (const std::string &entry : form.control(arguments[1]).entries)
            std::printf("%s\n", entry.c_str());
    return 0;
}
