// Plays a user's moves on the form over plain data (support::RecordingForm), for the Wine tests of the
// Windows window, which play the same moves there and compare the fields after each.
//
//   form_replay MOVE...                  after each move, one line: the move, then "NAME=TEXT" for every
//                                        text box the form writes, separated by tabs
//   form_replay --entries LIST MOVE...   the entries LIST offers after the moves, one a line
//   form_replay --names                  every control's name, what a screen reader says for it
//                                        (form::spokenName, the rule of every front), the label that
//                                        says it, if a label does, and whether it shows a caption of
//                                        its own ("caption" or ""), tab-separated
//   form_replay --tab-order              the controls in the order Tab visits them, each with the
//                                        tab page it lies on (0 for the window's own strip)
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

// The tab page a control lies on, its frames passed through; 0 for the window's bottom strip.
int pageOf(const form::ControlRow &row)
{
    const form::ControlRow *container = &row;
    while (const form::ControlRow *frame = form::findControl(container->container))
        container = frame;
    return form::tabPage(container->container).value_or(-1) + 1;
}

int main(int argc, char **argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() == 1 && arguments.front() == "--names") {
        for (const form::ControlRow &row : form::controlRows()) {
            const form::ControlRow *label = form::captionLabelOf(row);
            std::printf("%s\t%s\t%s\t%s\n",
                std::string(row.name).c_str(),
                form::spokenName(row).c_str(),
                label ? std::string(label->name).c_str() : "",
                row.caption.empty() ? "" : "caption");
        }
        return 0;
    }
    if (arguments.size() == 1 && arguments.front() == "--tab-order") {
        for (const std::string_view name : form::tabOrder())
            std::printf("%s\t%d\n", std::string(name).c_str(), pageOf(*form::findControl(name)));
        return 0;
    }
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
