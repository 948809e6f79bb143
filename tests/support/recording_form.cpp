#include "support/recording_form.h"

#include <stdexcept>

namespace support {

RecordingForm::RecordingForm(form::StartTime start)
    : m_start(std::move(start))
{
    for (const form::ControlRow &row : form::controlRows()) {
        Control control;
        control.kind = row.kind;
        control.container = row.container;
        control.text = row.caption;
        for (const std::string_view entry : form::startEntries(row.name))
            if (row.kind == form::Kind::ComboBox)
                control.entries.emplace_back(entry);
        control.visible = !(row.looks & form::look::kHidden);
        control.height = row.height;
        control.looks = row.looks;
        m_controls.emplace(std::string(row.name), std::move(control));
    }
    reportOutcome = [](form::ReportKind kind) {
        return report::WriteResult::saved(std::filesystem::path("/program folder")
            / (kind == form::ReportKind::Text ? report::kTextReportName : report::kDocumentReportName));
    };
    form.Form_Load();
}

RecordingForm::Control &RecordingForm::at(std::string_view name)
{
    const auto found = m_controls.find(name);
    if (found == m_controls.end())
        throw std::logic_error("the form names no control " + std::string(name));
    return found->second;
}

const RecordingForm::Control &RecordingForm::control(std::string_view name) const
{
    return const_cast<RecordingForm *>(this)->at(name);
}

bool RecordingForm::make(std::string_view move)
{
    std::size_t at = 0;
    while (at < move.size() && move[at] != ':' && move[at] != '=' && move[at] != '?')
        ++at;
    const bool click = move.starts_with('#');
    const std::string_view name = click ? move.substr(1) : move.substr(0, at);
    const std::string_view value = at < move.size() ? move.substr(at + 1) : std::string_view();
    if (!m_controls.count(name) || !control(name).visible)
        return false;
    Control &target = this->at(name);
    using form::Kind;
    if (click) {
        if (target.kind == Kind::Option) {
            if (target.checked)
                return true; // a selected option clicked again raises nothing
            select(name);
        } else if (target.kind == Kind::Check) {
            target.checked = !target.checked;
            return true;
        }
        form.raise(name, form::Event::Click);
        return true;
    }
    switch (move[at]) {
    case ':':
        for (std::size_t i = 0; i < target.entries.size(); ++i) {
            if (target.entries[i] == value) {
                if (target.kind == Kind::ListBox)
                    target.chosen = i;
                else
                    target.text = value;
                form.raise(name, form::Event::Click);
                return true;
            }
        }
        return false;
    case '=':
        if (target.text != value) {
            target.text = value;
            if (target.kind == Kind::TextBox)
                form.raise(name, form::Event::Change);
        }
        return true;
    }
    return false;
}

std::string RecordingForm::play(std::initializer_list<std::string_view> moves)
{
    return play(std::vector<std::string>(moves.begin(), moves.end()));
}

std::string RecordingForm::play(const std::vector<std::string> &moves)
{
    for (const std::string &move : moves) {
        const std::size_t expect = move.find('?');
        if (expect != std::string::npos && !move.starts_with('#')) {
            const std::string name = move.substr(0, expect);
            if (!m_controls.count(name))
                return move + " (no such control)";
            if (text(name) != move.substr(expect + 1))
                return move + " (shows \"" + text(name) + "\")";
        } else if (!make(move)) {
            return move + " (cannot be made)";
        }
    }
    return {};
}

std::string RecordingForm::text(std::string_view control) const
{
    return this->control(control).text;
}

void RecordingForm::setText(std::string_view control, std::string_view text)
{
    at(control).text = text;
}

std::optional<std::string> RecordingForm::chosenEntry(std::string_view list) const
{
    const Control &box = control(list);
    if (!box.chosen)
        return std::nullopt;
    return box.entries.at(*box.chosen);
}

void RecordingForm::setEntries(std::string_view list, std::span<const std::string_view> entries)
{
    Control &box = at(list);
    box.entries.assign(entries.begin(), entries.end());
    box.chosen.reset();
}

void RecordingForm::setHeight(std::string_view control, int twips)
{
    at(control).height = twips;
}

void RecordingForm::setLooks(std::string_view control, unsigned looks)
{
    at(control).looks = looks;
}

bool RecordingForm::checked(std::string_view control) const
{
    return this->control(control).checked;
}

void RecordingForm::select(std::string_view option)
{
    Control &chosen = at(option);
    for (auto &[name, other] : m_controls)
        if (other.kind == form::Kind::Option && other.container == chosen.container)
            other.checked = false;
    chosen.checked = true;
}

void RecordingForm::setVisible(std::string_view control, bool visible)
{
    at(control).visible = visible;
}

void RecordingForm::inform(std::string_view text)
{
    messages.push_back({false, std::string(text)});
}

void RecordingForm::warn(std::string_view text)
{
    messages.push_back({true, std::string(text)});
}

void RecordingForm::open(const form::ShellTarget &target)
{
    opened.push_back(target);
}

report::WriteResult RecordingForm::saveReport(form::ReportKind kind, const report::ReportInput &input)
{
    reports.push_back({kind, input});
    return reportOutcome(kind);
}

form::StartTime RecordingForm::startTime() const
{
    return m_start;
}

void RecordingForm::endProgram()
{
    ended = true;
}

} // namespace support
