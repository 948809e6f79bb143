// Form1 over plain data: every control of the inventory as a record (text, entries, chosen entry,
// selection, visibility, height, looks), with what the form asks of the platform recorded instead of
// done (messages, targets opened, reports saved, the end of the program). No toolkit, nothing shown:
// the form's behaviour is tested here, once for every front.
//
// Moves are written as the window tests write them (WindowFixture::play):
//   "#Name"          clicks the button, option, check box, link or field Name
//   "List1:entry"    chooses the entry of a list; "Combo1:entry" chooses it from the drop-down
//   "Text2=text"     replaces the field's text by typing (a drop-down's too, which raises nothing)
//   "Text3?text"     expects the field (or drop-down) to show text
// A move on a hidden control, or on an entry the control does not offer, cannot be made.
#pragma once

#include "form/controls.h"
#include "form/form1.h"
#include "form/inventory.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace support {

class RecordingForm : public form::Controls {
public:
    struct Control {
        form::Kind kind = form::Kind::Label;
        std::string container;
        std::string text;
        std::vector<std::string> entries;
        std::optional<std::size_t> chosen;
        bool checked = false;
        bool visible = true;
        int height = 0; // twips
        unsigned looks = 0;
    };
    struct Message {
        bool warning;
        std::string text;
    };
    struct SavedReport {
        form::ReportKind kind;
        report::ReportInput input;
    };

    // Builds the controls and runs the start-up, as if the program had been started at start.
    explicit RecordingForm(form::StartTime start = {"05.03.2024", "09:01:07"});

    // Makes the moves in order; returns the first that could not be made or showed something else, with
    // what it showed, and nothing when every move went as written.
    std::string play(std::initializer_list<std::string_view> moves);
    std::string play(const std::vector<std::string> &moves);

    const Control &control(std::string_view name) const;

    std::vector<Message> messages;
    std::vector<form::ShellTarget> opened;
    std::vector<SavedReport> reports;
    bool ended = false;
    // How a report comes out: by default saved as str.txt or str.doc in "/program folder".
    std::function<report::WriteResult(form::ReportKind)> reportOutcome;

    // form::Controls
    std::string text(std::string_view control) const override;
    void setText(std::string_view control, std::string_view text) override;
    std::optional<std::string> chosenEntry(std::string_view list) const override;
    void setEntries(std::string_view list, std::span<const std::string_view> entries) override;
    void setHeight(std::string_view control, int twips) override;
    void setLooks(std::string_view control, unsigned looks) override;
    bool checked(std::string_view control) const override;
    void select(std::string_view option) override;
    void setVisible(std::string_view control, bool visible) override;
    void inform(std::string_view text) override;
    void warn(std::string_view text) override;
    void open(const form::ShellTarget &target) override;
    report::WriteResult saveReport(form::ReportKind kind, const report::ReportInput &input) override;
    form::StartTime startTime() const override;
    void endProgram() override;

private:
    Control &at(std::string_view name);
    bool make(std::string_view move);

    std::map<std::string, Control, std::less<>> m_controls;
    form::StartTime m_start;

public:
    form::Form1 form{*this}; // after the controls it works on
};

} // namespace support
