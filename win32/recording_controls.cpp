#include "win32/recording_controls.h"

#include "win32/text.h"

#include <oleacc.h>
#include <string>

namespace win32 {

namespace {

RecordingControls *g_focusRecorder = nullptr; // the one window's record, for the focus events

std::string roleName(IAccessible *object)
{
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role{};
    if (FAILED(object->get_accRole(self, &role)) || role.vt != VT_I4)
        return "?";
    wchar_t text[128] = {};
    GetRoleTextW(static_cast<DWORD>(role.lVal), text, 128);
    return utf8(text);
}

std::string accessibleName(IAccessible *object, LONG child)
{
    VARIANT which{};
    which.vt = VT_I4;
    which.lVal = child;
    BSTR name = nullptr;
    const HRESULT asked = object->get_accName(which, &name);
    std::string text = asked == S_OK && name ? utf8(name) : "";
    SysFreeString(name);
    return text;
}

} // namespace

RecordingControls::RecordingControls(form::Controls &window, std::shared_ptr<RecordFile> record)
    : m_window(window)
    , m_record(std::move(record))
{
}

RecordingControls::~RecordingControls()
{
    if (m_focusHook)
        UnhookWinEvent(m_focusHook);
    if (g_focusRecorder == this)
        g_focusRecorder = nullptr;
}

void RecordingControls::accessible(const ControlTable &controls, HWND tabs)
{
    for (const Control &control : controls.all()) {
        IAccessible *object = nullptr;
        if (FAILED(AccessibleObjectFromWindow(control.hwnd,
                static_cast<DWORD>(OBJID_CLIENT),
                IID_IAccessible,
                reinterpret_cast<void **>(&object)))) {
            line("acc:" + std::string(control.row->name), "-|");
            continue;
        }
        line("acc:" + std::string(control.row->name),
            roleName(object) + "|" + accessibleName(object, CHILDID_SELF));
        object->Release();
    }
    IAccessible *tabRow = nullptr;
    if (SUCCEEDED(AccessibleObjectFromWindow(
            tabs, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible, reinterpret_cast<void **>(&tabRow)))) {
        for (LONG tab = 1; tab <= static_cast<LONG>(form::stepNames().size()); ++tab)
            line("acc:tab" + std::to_string(tab), accessibleName(tabRow, tab));
        tabRow->Release();
    }
}

void RecordingControls::fields(const ControlTable &controls)
{
    for (const Control &control : controls.all())
        if (control.row->kind == form::Kind::TextBox || control.row->kind == form::Kind::ComboBox)
            line(control.row->name, utf8(windowText(control.hwnd)));
}

void RecordingControls::opened(const ControlTable &controls)
{
    fields(controls);
    // Where a test finds the entries of a dropped list: Windows keeps the height the layout asks for,
    // Wine the font's.
    for (const Control &control : controls.all())
        if (control.row->kind == form::Kind::ComboBox)
            line("rowheight:" + std::string(control.row->name),
                std::to_string(SendMessageW(control.hwnd, CB_GETITEMHEIGHT, 0, 0)));
    m_focusControls = &controls;
    g_focusRecorder = this;
    m_focusHook = SetWinEventHook(EVENT_OBJECT_FOCUS,
        EVENT_OBJECT_FOCUS,
        nullptr,
        focusEvent,
        GetCurrentProcessId(),
        0,
        WINEVENT_OUTOFCONTEXT);
}

void CALLBACK RecordingControls::focusEvent(HWINEVENTHOOK, DWORD, HWND hwnd, LONG, LONG, DWORD, DWORD)
{
    RecordingControls *self = g_focusRecorder;
    if (!self || !self->m_focusControls)
        return;
    // A drop-down's own field has focus for the drop-down.
    const Control *control = self->m_focusControls->of(hwnd);
    if (!control)
        control = self->m_focusControls->of(GetParent(hwnd));
    wchar_t className[64] = {};
    GetClassNameW(hwnd, className, 64);
    self->line("focus", control ? std::string(control->row->name) : "window:" + utf8(className));
}

void RecordingControls::closing(const ControlTable &controls, HWND window, UINT dpi)
{
    fields(controls);
    RECT client{};
    GetClientRect(window, &client);
    line("client", std::to_string(client.right) + "," + std::to_string(client.bottom));
    line("dpi", std::to_string(dpi));
    for (const Control &control : controls.all()) {
        RECT area{};
        GetWindowRect(control.hwnd, &area);
        MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT *>(&area), 2);
        if (control.row->kind == form::Kind::ComboBox) { // the field alone, not the list it drops
            RECT field{};
            GetClientRect(control.hwnd, &field);
            area.bottom = area.top + field.bottom;
        }
        line("rect:" + std::string(control.row->name),
            std::to_string(area.left) + "," + std::to_string(area.top) + ","
                + std::to_string(area.right - area.left) + "," + std::to_string(area.bottom - area.top)
                + ((GetWindowLongW(control.hwnd, GWL_STYLE) & WS_VISIBLE) ? "" : ",hidden"));
    }
    line("closed", "1");
}

std::string RecordingControls::text(std::string_view control) const
{
    return m_window.text(control);
}

void RecordingControls::setText(std::string_view control, std::string_view text)
{
    m_window.setText(control, text);
    line(control, text);
}

std::optional<std::string> RecordingControls::chosenEntry(std::string_view list) const
{
    return m_window.chosenEntry(list);
}

void RecordingControls::setEntries(std::string_view list, std::span<const std::string_view> entries)
{
    m_window.setEntries(list, entries);
    std::string joined;
    for (const std::string_view entry : entries)
        joined.append(joined.empty() ? "" : "|").append(entry);
    line("entries:" + std::string(list), joined);
}

void RecordingControls::setHeight(std::string_view control, int twips)
{
    m_window.setHeight(control, twips);
}

void RecordingControls::setLooks(std::string_view control, unsigned looks)
{
    m_window.setLooks(control, looks);
}

bool RecordingControls::checked(std::string_view control) const
{
    return m_window.checked(control);
}

void RecordingControls::select(std::string_view option)
{
    m_window.select(option);
}

void RecordingControls::setVisible(std::string_view control, bool visible)
{
    m_window.setVisible(control, visible);
}

void RecordingControls::inform(std::string_view text)
{
    line("message", text);
    m_window.inform(text);
}

void RecordingControls::warn(std::string_view text)
{
    line("message", text);
    m_window.warn(text);
}

void RecordingControls::open(const form::ShellTarget &target)
{
    line("open", target.text);
}

report::WriteResult RecordingControls::saveReport(form::ReportKind kind, const report::ReportInput &input)
{
    return m_window.saveReport(kind, input);
}

form::StartTime RecordingControls::startTime() const
{
    return m_window.startTime();
}

void RecordingControls::endProgram()
{
    m_window.endProgram();
}

} // namespace win32
