#include "win32/recording_fleet.h"

#include "report/file_writer.h"

#include <string>

namespace win32 {

namespace {

// The rejected rows written into the record; the count says how many there were.
constexpr std::size_t kRowsRecorded = 20;

} // namespace

RecordingFleetControls::RecordingFleetControls(
    form::FleetControls &window, std::shared_ptr<RecordFile> record)
    : m_window(window)
    , m_record(std::move(record))
{
}

void RecordingFleetControls::showStatus(std::string_view text)
{
    m_window.showStatus(text);
    m_record->line("fleet:status", text);
}

void RecordingFleetControls::showProgress(std::optional<unsigned> percent)
{
    m_window.showProgress(percent);
    m_record->line("fleet:progress", percent ? std::to_string(*percent) : "");
}

void RecordingFleetControls::showSummary(std::span<const form::SummaryLine> lines)
{
    m_window.showSummary(lines);
    for (const form::SummaryLine &line : lines)
        m_record->line("fleet:summary:" + std::string(line.caption), line.value);
}

void RecordingFleetControls::showRejectedRows(std::span<const batch::RejectedRow> rows, std::string_view more)
{
    m_window.showRejectedRows(rows, more);
    m_record->line("fleet:rejected", std::to_string(rows.size()));
    for (std::size_t i = 0; i < rows.size() && i < kRowsRecorded; ++i)
        m_record->line(
            "fleet:row", std::to_string(rows[i].row) + "|" + rows[i].columns + "|" + rows[i].reason);
    m_record->line("fleet:more", more);
}

void RecordingFleetControls::enable(form::FleetButton button, bool enabled)
{
    m_window.enable(button, enabled);
    m_record->line("fleet:button:" + std::to_string(static_cast<int>(button)), enabled ? "1" : "0");
}

void RecordingFleetControls::warn(std::string_view text)
{
    m_record->line("fleet:message", text);
    m_window.warn(text);
}

bool RecordingFleetControls::ask(std::string_view text)
{
    m_record->line("fleet:message", text);
    return m_window.ask(text);
}

std::optional<std::filesystem::path> RecordingFleetControls::chooseList(const form::FileDialog &dialog)
{
    m_record->line("fleet:dialog", dialog.title);
    return m_window.chooseList(dialog);
}

std::optional<std::filesystem::path> RecordingFleetControls::chooseResultName(const form::FileDialog &dialog)
{
    m_record->line("fleet:dialog", dialog.title);
    return m_window.chooseResultName(dialog);
}

bool RecordingFleetControls::openFile(const std::filesystem::path &file)
{
    m_record->line("fleet:open", report::utf8Text(file));
    return true;
}

bool RecordingFleetControls::showInFolder(const std::filesystem::path &file)
{
    m_record->line("fleet:show", report::utf8Text(file));
    return true;
}

std::filesystem::path RecordingFleetControls::documentsFolder() const
{
    return m_window.documentsFolder();
}

void RecordingFleetControls::runInBackground(std::function<void()> work)
{
    m_window.runInBackground(std::move(work));
}

void RecordingFleetControls::postToWindow(std::function<void()> task)
{
    m_window.postToWindow(std::move(task));
}

} // namespace win32
