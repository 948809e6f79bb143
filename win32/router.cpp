#include "win32/router.h"

#include "win32/painters.h"
#include "win32/text.h"
#include "win32/window_controls.h"

#include <commctrl.h>
#include <windowsx.h>

namespace win32 {

using form::Kind;

namespace {

ComboNote comboNote(int code)
{
    switch (code) {
    case CBN_DROPDOWN:
        return ComboNote::DropDown;
    case CBN_CLOSEUP:
        return ComboNote::CloseUp;
    case CBN_SELCHANGE:
        return ComboNote::SelectionChange;
    case CBN_SELENDOK:
        return ComboNote::SelectionEndOk;
    case CBN_SELENDCANCEL:
        return ComboNote::SelectionEndCancel;
    default:
        return ComboNote::Other;
    }
}

// The text of the entry chosen in a drop-down's list; nothing while none is chosen.
std::optional<std::wstring> chosenComboEntry(HWND combo)
{
    const auto chosen = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (chosen == CB_ERR)
        return std::nullopt;
    const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(chosen), 0);
    if (length == CB_ERR)
        return std::nullopt;
    std::wstring entry(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied = SendMessageW(
        combo, CB_GETLBTEXT, static_cast<WPARAM>(chosen), reinterpret_cast<LPARAM>(entry.data()));
    if (copied == CB_ERR)
        return std::nullopt;
    entry.resize(static_cast<std::size_t>(copied));
    return entry;
}

} // namespace

Router::Router(WindowState &state, form::Form1 &form)
    : m_state(state)
    , m_form(form)
{
}

void Router::command(int id, int code)
{
    Control *control = m_state.controls.byId(id);
    if (!control || !control->hwnd)
        return;
    switch (control->row->kind) {
    case Kind::ListBox:
        if (code == LBN_SELCHANGE)
            raise(*control, form::Event::Click);
        break;
    case Kind::TextBox:
        if (code == EN_CHANGE)
            raise(*control, form::Event::Change);
        break;
    case Kind::ComboBox:
        comboNotification(*control, code);
        break;
    case Kind::Option:
        if (code == BN_CLICKED)
            optionClicked(*control);
        break;
    case Kind::Command:
    case Kind::Picture:
        if (code == BN_CLICKED)
            raise(*control, form::Event::Click);
        break;
    case Kind::Link:
        if (code == STN_CLICKED)
            raise(*control, form::Event::Click);
        break;
    default:
        break;
    }
}

void Router::raise(const Control &control, form::Event event)
{
    if (!m_state.changes.active())
        m_form.raise(control.row->name, event);
}

// An option button clicks when it becomes selected, not when the selected one is clicked again.
void Router::optionClicked(Control &option)
{
    const bool was = option.wasSelected;
    noteOptions(m_state.controls, GetParent(option.hwnd));
    if (option.wasSelected && !was)
        raise(option, form::Event::Click);
}

void Router::comboNotification(Control &combo, int code)
{
    const ComboNote note = comboNote(code);
    if (note == ComboNote::DropDown) {
        m_shownEntry = SendMessageW(combo.hwnd, CB_GETCURSEL, 0, 0);
        m_shownText = windowText(combo.hwnd);
    }
    const ComboOutcome outcome = m_combos.after(combo.id, note);
    if (outcome == ComboOutcome::Dropped) {
        const FormChanges::Scope change(m_state.changes);
        SendMessageW(combo.hwnd, CB_SETCURSEL, static_cast<WPARAM>(m_shownEntry), 0);
        SetWindowTextW(combo.hwnd, m_shownText.c_str());
        return;
    }
    if (outcome != ComboOutcome::Chosen)
        return;
    const std::optional<std::wstring> entry = chosenComboEntry(combo.hwnd);
    if (!entry)
        return;
    // The field shows the chosen entry before the form reads it.
    if (windowText(combo.hwnd) != *entry) {
        const FormChanges::Scope change(m_state.changes);
        SetWindowTextW(combo.hwnd, entry->c_str());
    }
    raise(combo, form::Event::Click);
}

void Router::subclassControls()
{
    for (const Control &control : m_state.controls.all())
        if (control.row->kind == Kind::TextBox || control.row->kind == Kind::Link)
            SetWindowSubclass(control.hwnd, subclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK Router::subclassProc(
    HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self)
{
    auto *router = reinterpret_cast<Router *>(self);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, subclassProc, 0);
    } else if (Control *control = router->m_state.controls.of(hwnd)) {
        if (control->row->kind == Kind::TextBox)
            return router->textBoxMessage(*control, message, wParam, lParam);
        return router->linkMessage(*control, message, wParam, lParam);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// A click into a text box (the button let go inside it) is its Click.
LRESULT Router::textBoxMessage(Control &box, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = DefSubclassProc(box.hwnd, message, wParam, lParam);
    if (message == WM_LBUTTONUP) {
        RECT area;
        GetClientRect(box.hwnd, &area);
        if (PtInRect(&area, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
            raise(box, form::Event::Click);
    }
    return result;
}

LRESULT Router::linkMessage(Control &link, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE: {
        const auto *key = reinterpret_cast<const MSG *>(lParam);
        if (key && key->message == WM_KEYDOWN && (key->wParam == VK_RETURN || key->wParam == VK_SPACE))
            return DLGC_WANTMESSAGE;
        break;
    }
    case WM_KEYDOWN:
        if ((wParam == VK_RETURN || wParam == VK_SPACE) && !(lParam & (1 << 30)))
            raise(link, form::Event::Click);
        return 0;
    case WM_SETCURSOR:
        SetCursor(m_state.hand.get());
        return TRUE;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(link.hwnd, nullptr, TRUE);
        break;
    case WM_PAINT:
        paintLink(link.hwnd, m_state.fonts->font(link.looks), m_state.paintOf(link));
        return 0;
    default:
        break;
    }
    return DefSubclassProc(link.hwnd, message, wParam, lParam);
}

} // namespace win32
