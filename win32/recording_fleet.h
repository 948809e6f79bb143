// The test record of the fleet window (test_seams.h): what the fleet form shows and asks, written into
// the record as it happens ("fleet:status=TEXT", "fleet:summary:CAPTION=VALUE", "fleet:rejected=N" and
// "fleet:row=ROW|COLUMNS|REASON" for each of the first rows, "fleet:more=TEXT", "fleet:button:N=0|1",
// "fleet:progress=N", "fleet:message=TEXT" before a box opens, "fleet:open=FILE", "fleet:show=FILE"),
// and handed on to the window's controls, but for the shell, which it never calls.
#pragma once

#include "form/fleet_controls.h"
#include "win32/record_file.h"

#include <memory>

namespace win32 {

class RecordingFleetControls final : public form::FleetControls {
public:
    RecordingFleetControls(form::FleetControls &window, std::shared_ptr<RecordFile> record);

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
    form::FleetControls &m_window;
    std::shared_ptr<RecordFile> m_record;
};

} // namespace win32
