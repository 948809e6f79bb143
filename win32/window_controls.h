// The form's controls interface over the Windows window: each call reads or changes the user32 control
// the form names. Nothing here raises an event: what the form changes is marked as the form's change
// (FormChanges), and the router lets it pass.
#pragma once

#include "form/controls.h"
#include "win32/window_state.h"

#include <filesystem>
#include <optional>

namespace win32 {

class WindowControls final : public form::Controls {
public:
    WindowControls(
        WindowState &state, std::filesystem::path programFolder, std::optional<form::StartTime> start);

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
    WindowState &m_state;
    std::filesystem::path m_programFolder;
    std::optional<form::StartTime> m_start;
};

// Notes which option buttons of a container are selected now (Control::wasSelected).
void noteOptions(ControlTable &controls, HWND container);

} // namespace win32
