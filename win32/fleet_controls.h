// The fleet form's controls interface over the Windows fleet window: the status line, progress bar,
// summary, rejected rows' list view and buttons, the shell's dialogs, and the runs' threads, whose
// reports come back onto the window's thread as posted messages.
#pragma once

#include "form/fleet_controls.h"
#include "win32/fleet_parts.h"

namespace win32 {

class WindowFleetControls final : public form::FleetControls {
public:
    explicit WindowFleetControls(FleetParts &parts);

    void showStatus(std::string_view text) override;
    void showProgress(std::optional<unsigned> percent) override;
    void showSummary(std::span<const form::SummaryLine> lines) override;
    void showRejectedRows(std::span<const batch::RejectedRow> rows, std::string_view more) override;
    void enable(form::FleetButton button, bool enabled) override;
    void warn(std::string_view text) override;
    bool ask(std::string_view text) override;
    std::optional<std::filesystem::path> chooseList(const form::FileDialog &dialog) override;
    std::optional<std::filesystem::path> chooseResultName(const form::FileDialog &dialog) override;
    bool openFile(const std::filesystem::path &file) override;
    bool showInFolder(const std::filesystem::path &file) override;
    std::filesystem::path documentsFolder() const override;
    void runInBackground(std::function<void()> work) override;
    void postToWindow(std::function<void()> task) override;

private:
    FleetParts &m_parts;
};

} // namespace win32
