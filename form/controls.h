// What Form1 asks of a front: its controls, found by their names in the inventory, and the few services
// of the platform the handlers need (the message box, the shell, the reports' place, the clock, the end
// of the program). The Qt window, the page and the Windows program each implement it over their own
// controls; the form's tests implement it over plain data.
//
// Nothing the form does here raises an event: a front raises Click and Change only for what the user
// (or anything but the form) does, and the form runs the handlers of its own changes itself.
#pragma once

#include "form/module1.h"
#include "report/input.h"
#include "report/report.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace form {

// When the program was started, as the user's short date and time formats write it.
struct StartTime {
    std::string date;
    std::string time;
};

enum class ReportKind { Text, Document };

class Controls {
public:
    virtual ~Controls() = default;

    // The text of a text box, of a combo box's edit field, or a label's caption. UTF-8.
    virtual std::string text(std::string_view control) const = 0;
    virtual void setText(std::string_view control, std::string_view text) = 0;

    // The text of the entry chosen in a list box; nothing while none is chosen.
    virtual std::optional<std::string> chosenEntry(std::string_view list) const = 0;
    // Replaces the entries of a list box; none of them is chosen afterwards.
    virtual void setEntries(std::string_view list, std::span<const std::string_view> entries) = 0;
    // A list box's height in twips, and a control's looks (the inventory's look bits) from now on.
    virtual void setHeight(std::string_view control, int twips) = 0;
    virtual void setLooks(std::string_view control, unsigned looks) = 0;

    // Whether an option button or the check box is selected.
    virtual bool checked(std::string_view control) const = 0;
    // Selects an option button; the other buttons of its container clear.
    virtual void select(std::string_view option) = 0;

    virtual void setVisible(std::string_view control, bool visible) = 0;

    // The program's message box: titled "ТарифМастер", one OK button, and the information icon, or the
    // warning icon for a failure the user must know of. Returns when the user has closed it.
    virtual void inform(std::string_view text) = 0;
    virtual void warn(std::string_view text) = 0;

    // Hands a help page, the web address or a new message to the user's default programs. Whatever
    // they answer changes nothing in the program.
    virtual void open(const ShellTarget &target) = 0;

    // Writes a report where this front keeps its reports, and says where it went, or why it did not.
    virtual report::WriteResult saveReport(ReportKind kind, const report::ReportInput &input) = 0;

    // The moment the program was started, read once by the start-up.
    virtual StartTime startTime() const = 0;

    // Ends the program at once.
    virtual void endProgram() = 0;
};

} // namespace form
