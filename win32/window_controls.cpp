#include "win32/window_controls.h"

#include "report/report.h"
#include "win32/layout.h"
#include "win32/pictures.h"
#include "win32/program_files.h"
#include "win32/text.h"
#include "win32/text_lines.h"

namespace win32 {

using form::Kind;

void noteOptions(ControlTable &controls, HWND container)
{
    for (Control &control : controls.all())
        if (control.row->kind == Kind::Option && GetParent(control.hwnd) == container)
            control.wasSelected = SendMessageW(control.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

WindowControls::WindowControls(
    WindowState &state, std::filesystem::path programFolder, std::optional<form::StartTime> start)
    : m_state(state)
    , m_programFolder(std::move(programFolder))
    , m_start(std::move(start))
{
}

std::string WindowControls::text(std::string_view control) const
{
    const Control &shown = m_state.controls.named(control);
    std::string text = utf8(windowText(shown.hwnd));
    return shown.row->kind == Kind::Label ? withoutCarriageReturns(std::move(text)) : text;
}

void WindowControls::setText(std::string_view control, std::string_view text)
{
    const Control &shown = m_state.controls.named(control);
    const FormChanges::Scope change(m_state.changes);
    const std::wstring wideText
        = shown.row->kind == Kind::Label ? withCarriageReturns(wide(text)) : wide(text);
    SetWindowTextW(shown.hwnd, wideText.c_str());
}

std::optional<std::string> WindowControls::chosenEntry(std::string_view list) const
{
    HWND box = m_state.controls.named(list).hwnd;
    const auto chosen = SendMessageW(box, LB_GETCURSEL, 0, 0);
    if (chosen == LB_ERR)
        return std::nullopt;
    std::wstring entry(static_cast<std::size_t>(SendMessageW(box, LB_GETTEXTLEN, chosen, 0)) + 1, L'\0');
    entry.resize(static_cast<std::size_t>(
        SendMessageW(box, LB_GETTEXT, chosen, reinterpret_cast<LPARAM>(entry.data()))));
    return utf8(entry);
}

void WindowControls::setEntries(std::string_view list, std::span<const std::string_view> entries)
{
    HWND box = m_state.controls.named(list).hwnd;
    const FormChanges::Scope change(m_state.changes);
    SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    SendMessageW(box, LB_RESETCONTENT, 0, 0);
    std::size_t bytes = 0;
    for (const std::string_view entry : entries)
        bytes += (entry.size() + 1) * sizeof(wchar_t);
    SendMessageW(box, LB_INITSTORAGE, entries.size(), static_cast<LPARAM>(bytes));
    for (const std::string_view entry : entries)
        SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(entry).c_str()));
    SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
}

void WindowControls::setHeight(std::string_view control, int twips)
{
    Control &resized = m_state.controls.named(control);
    resized.heightTwips = twips;
    placeControl(resized, m_state.dpi, m_state.pageOrigin);
}

void WindowControls::setLooks(std::string_view control, unsigned looks)
{
    Control &changed = m_state.controls.named(control);
    changed.looks = looks;
    SendMessageW(changed.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_state.fonts->font(looks)), FALSE);
    InvalidateRect(changed.hwnd, nullptr, TRUE);
}

bool WindowControls::checked(std::string_view control) const
{
    return SendMessageW(m_state.controls.named(control).hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void WindowControls::select(std::string_view option)
{
    HWND chosen = m_state.controls.named(option).hwnd;
    HWND container = GetParent(chosen);
    const FormChanges::Scope change(m_state.changes);
    for (const Control &control : m_state.controls.all())
        if (control.row->kind == Kind::Option && GetParent(control.hwnd) == container)
            SendMessageW(control.hwnd, BM_SETCHECK, control.hwnd == chosen ? BST_CHECKED : BST_UNCHECKED, 0);
    noteOptions(m_state.controls, container);
}

void WindowControls::setVisible(std::string_view control, bool visible)
{
    ShowWindow(m_state.controls.named(control).hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

void WindowControls::inform(std::string_view text)
{
    MessageBoxW(
        m_state.window, wide(text).c_str(), wide(form::kFormCaption).c_str(), MB_OK | MB_ICONINFORMATION);
}

void WindowControls::warn(std::string_view text)
{
    MessageBoxW(m_state.window, wide(text).c_str(), wide(form::kFormCaption).c_str(), MB_OK | MB_ICONWARNING);
}

void WindowControls::open(const form::ShellTarget &target)
{
    openWithShell(target, m_programFolder);
}

report::WriteResult WindowControls::saveReport(form::ReportKind kind, const report::ReportInput &input)
{
    const std::filesystem::path folder = reportFolder(m_programFolder);
    if (kind == form::ReportKind::Text)
        return report::writeTextReport(input, folder);
    return report::writeDocumentReport(
        input, folder, readReportPicture(m_programFolder / wide(report::kPictureName)));
}

form::StartTime WindowControls::startTime() const
{
    if (m_start)
        return *m_start;
    // The user's short date and time formats, as the regional settings give them.
    wchar_t date[128] = {};
    wchar_t time[128] = {};
    GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 128, nullptr);
    GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, nullptr, nullptr, time, 128);
    return {utf8(date), utf8(time)};
}

void WindowControls::endProgram()
{
    DestroyWindow(m_state.window);
}

} // namespace win32
