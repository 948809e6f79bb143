#include "win32/fleet_controls.h"

#include "form/fleet_texts.h"
#include "win32/fleet_shell.h"
#include "win32/program_files.h"
#include "win32/text.h"

#include <commctrl.h>

namespace win32 {

WindowFleetControls::WindowFleetControls(FleetParts &parts)
    : m_parts(parts)
{
}

void WindowFleetControls::showStatus(std::string_view text)
{
    SetWindowTextW(m_parts.status, wide(text).c_str());
}

void WindowFleetControls::showProgress(std::optional<unsigned> percent)
{
    if (percent)
        SendMessageW(m_parts.progress, PBM_SETPOS, *percent, 0);
    ShowWindow(m_parts.progress, percent ? SW_SHOWNA : SW_HIDE);
    m_parts.taskbar.show(percent);
}

void WindowFleetControls::showSummary(std::span<const form::SummaryLine> lines)
{
    for (std::size_t i = 0; i < kSummaryLines; ++i) {
        const bool shown = i < lines.size();
        SetWindowTextW(m_parts.captions[i], shown ? wide(lines[i].caption).c_str() : L"");
        SetWindowTextW(m_parts.values[i], shown ? wide(lines[i].value).c_str() : L"");
    }
}

void WindowFleetControls::showRejectedRows(std::span<const batch::RejectedRow> rows, std::string_view more)
{
    m_parts.rows.assign(rows.begin(), rows.end());
    // The list view asks for the texts of the rows it shows (LVN_GETDISPINFO): it holds none itself.
    SendMessageW(m_parts.list, LVM_SETITEMCOUNT, m_parts.rows.size(), LVSICF_NOSCROLL);
    InvalidateRect(m_parts.list, nullptr, TRUE);
    SetWindowTextW(m_parts.more, wide(more).c_str());
}

void WindowFleetControls::enable(form::FleetButton button, bool enabled)
{
    EnableWindow(m_parts.buttons[static_cast<std::size_t>(button)], enabled ? TRUE : FALSE);
}

void WindowFleetControls::warn(std::string_view text)
{
    MessageBoxW(
        m_parts.window, wide(text).c_str(), wide(form::fleet_text::kTitle).c_str(), MB_OK | MB_ICONWARNING);
}

bool WindowFleetControls::ask(std::string_view text)
{
    return MessageBoxW(m_parts.window,
               wide(text).c_str(),
               wide(form::fleet_text::kTitle).c_str(),
               MB_YESNO | MB_ICONQUESTION)
        == IDYES;
}

std::optional<std::filesystem::path> WindowFleetControls::chooseList(const form::FileDialog &dialog)
{
    return chooseFile(m_parts.window, DialogKind::Open, dialog);
}

std::optional<std::filesystem::path> WindowFleetControls::chooseResultName(const form::FileDialog &dialog)
{
    return chooseFile(m_parts.window, DialogKind::Save, dialog);
}

bool WindowFleetControls::openFile(const std::filesystem::path &file)
{
    return openWithDefaultProgram(file);
}

bool WindowFleetControls::showInFolder(const std::filesystem::path &file)
{
    return showSelectedInFolder(file);
}

std::filesystem::path WindowFleetControls::documentsFolder() const
{
    return win32::documentsFolder();
}

// The form starts a run only when the one before has ended: its thread is done or about to be.
void WindowFleetControls::runInBackground(std::function<void()> work)
{
    if (m_parts.run.joinable())
        m_parts.run.join();
    m_parts.run = std::thread(std::move(work));
}

void WindowFleetControls::postToWindow(std::function<void()> task)
{
    auto *posted = new std::function<void()>(std::move(task));
    const HWND window = m_parts.window.load();
    if (!window || !PostMessageW(window, kRunTaskMessage, 0, reinterpret_cast<LPARAM>(posted)))
        delete posted; // the window is gone: nobody waits for the task
}

} // namespace win32
