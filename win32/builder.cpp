#include "win32/builder.h"

#include "win32/container.h"
#include "win32/text.h"
#include "win32/text_lines.h"

#include <commctrl.h>
#include <uxtheme.h>

namespace win32 {

using form::ControlRow;
using form::Kind;
namespace look = form::look;

namespace {

constexpr int kTabsId = 900;
constexpr int kFirstPageId = 901;

// The window class, styles and caption that a row of the inventory becomes.
struct Shape {
    const wchar_t *windowClass = WC_STATICW;
    DWORD style = 0;
    DWORD extended = 0;
    std::wstring caption;
};

Shape shapeOf(const ControlRow &row)
{
    const DWORD shown = (row.looks & look::kHidden) ? 0 : WS_VISIBLE;
    Shape shape{WC_STATICW, WS_CHILD | shown, 0, wide(row.caption)};
    switch (row.kind) {
    case Kind::Label:
        shape.caption = withCarriageReturns(shape.caption);
        shape.style |= (row.looks & look::kTight) ? SS_OWNERDRAW : SS_LEFT | SS_NOPREFIX;
        break;
    case Kind::Link:
        shape.style |= SS_LEFT | SS_NOPREFIX | SS_NOTIFY | WS_TABSTOP;
        break;
    case Kind::TextBox:
        shape = {WC_EDITW, shape.style | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, shape.caption};
        break;
    case Kind::ListBox:
        shape.windowClass = WC_LISTBOXW;
        shape.style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP;
        shape.extended = WS_EX_CLIENTEDGE;
        break;
    case Kind::ComboBox:
        shape.windowClass = WC_COMBOBOXW;
        shape.style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
        break;
    case Kind::Option:
        shape.windowClass = WC_BUTTONW;
        shape.style |= BS_AUTORADIOBUTTON | BS_MULTILINE | WS_TABSTOP;
        break;
    case Kind::Check:
        shape.windowClass = WC_BUTTONW;
        shape.style |= BS_AUTOCHECKBOX | WS_TABSTOP;
        break;
    case Kind::Command:
        shape.windowClass = WC_BUTTONW;
        shape.style |= BS_PUSHBUTTON | WS_TABSTOP;
        break;
    case Kind::Picture: // the picture shows the word; the caption is what a screen reader says
        shape = {WC_BUTTONW, shape.style | BS_PUSHBUTTON | BS_BITMAP | WS_TABSTOP, 0, wide(row.spoken)};
        break;
    case Kind::Frame:
        shape = {kContainerClass, shape.style | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, {}};
        break;
    case Kind::Image:
        shape.style |= SS_BITMAP | SS_CENTERIMAGE;
        break;
    }
    return shape;
}

class Builder {
public:
    Builder(
        HWND window, HINSTANCE instance, ControlTable &controls, WindowParts &parts, std::string_view refuse)
        : m_window(window)
        , m_instance(instance)
        , m_controls(controls)
        , m_parts(parts)
        , m_refuse(refuse)
    {
    }

    std::string build();

private:
    HWND create(
        const wchar_t *windowClass, const Shape &shape, HWND parent, int id, void *creation = nullptr);
    bool createTabs();
    bool createControl(const ControlRow &row);
    HWND containerOf(std::string_view container);
    bool continuesGroup(const ControlRow &row, HWND parent) const;
    void fillComboBox(const Control &combo, const std::wstring &caption);
    bool createTooltips();
    // Notes what Windows refused, with its reason's code for whoever looks into it.
    void refused(const std::string &what)
    {
        m_refused = what + " (ошибка " + std::to_string(GetLastError()) + ")";
    }

    HWND m_window;
    HINSTANCE m_instance;
    ControlTable &m_controls;
    WindowParts &m_parts;
    std::string_view m_refuse;
    HWND m_lastCreated = nullptr;
    std::string m_refused;
};

HWND Builder::create(const wchar_t *windowClass, const Shape &shape, HWND parent, int id, void *creation)
{
    return CreateWindowExW(shape.extended,
        windowClass,
        shape.caption.c_str(),
        shape.style,
        0,
        0,
        0,
        0,
        parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        m_instance,
        creation);
}

bool Builder::createTabs()
{
    const Shape tabs{WC_TABCONTROLW,
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | WS_GROUP | TCS_FIXEDWIDTH | TCS_TOOLTIPS,
        0,
        {}};
    m_parts.tabs = create(WC_TABCONTROLW, tabs, m_window, kTabsId);
    if (!m_parts.tabs) {
        refused("SSTab1");
        return false;
    }
    for (int page = 0; page < form::kPageCount; ++page) {
        std::wstring caption = std::to_wstring(page + 1);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        TabCtrl_InsertItem(m_parts.tabs, page, &item);
        // Pages are the tab control's siblings, above it; the window's name is what the page is.
        const DWORD shown = page == 0 ? WS_VISIBLE : 0;
        const Shape shape{kContainerClass,
            WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | shown,
            WS_EX_CONTROLPARENT,
            wide(form::stepNames()[static_cast<std::size_t>(page)])};
        HWND &made = m_parts.pages[static_cast<std::size_t>(page)];
        made = create(kContainerClass, shape, m_window, kFirstPageId + page);
        if (!made) {
            refused("SSTab1, страница " + std::to_string(page + 1));
            return false;
        }
    }
    return true;
}

HWND Builder::containerOf(std::string_view container)
{
    if (container == "Form1")
        return m_window;
    if (const std::optional<int> page = form::tabPage(container))
        return m_parts.pages[static_cast<std::size_t>(*page)];
    Control &frame = m_controls.named(container);
    return createControl(*frame.row) ? frame.hwnd : nullptr;
}

// A group of option buttons runs until the next control of another kind in the same container; the
// arrow keys move within it.
bool Builder::continuesGroup(const ControlRow &row, HWND parent) const
{
    const Control *last = m_controls.of(m_lastCreated);
    return row.kind == Kind::Option && last && GetParent(last->hwnd) == parent
        && last->row->kind == Kind::Option;
}

bool Builder::createControl(const ControlRow &row)
{
    Control &control = m_controls.named(row.name);
    if (control.hwnd)
        return true;
    HWND parent = containerOf(row.container);
    if (!parent)
        return false;
    Shape shape = shapeOf(row);
    if (!continuesGroup(row, parent))
        shape.style |= WS_GROUP;
    if (row.name != m_refuse)
        control.hwnd = create(shape.windowClass,
            shape,
            parent,
            control.id,
            row.kind == Kind::Frame ? frameCreation() : nullptr);
    if (!control.hwnd) {
        refused(std::string(row.name));
        return false;
    }
    m_lastCreated = control.hwnd;
    if (row.kind == Kind::ComboBox)
        fillComboBox(control, shape.caption);
    // A themed option button draws its caption in the theme's colour; the red warning keeps its red.
    if (row.kind == Kind::Option && (row.looks & look::kRedText))
        SetWindowTheme(control.hwnd, L"", L"");
    return true;
}

void Builder::fillComboBox(const Control &combo, const std::wstring &caption)
{
    for (const std::string_view entry : form::startEntries(combo.row->name))
        SendMessageW(combo.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(entry).c_str()));
    const LRESULT shown = SendMessageW(
        combo.hwnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(caption.c_str()));
    SendMessageW(combo.hwnd, CB_SETCURSEL, static_cast<WPARAM>(shown), 0);
    SetWindowTextW(combo.hwnd, caption.c_str());
}

bool Builder::createTooltips()
{
    const Shape popup{TOOLTIPS_CLASSW, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, WS_EX_TOPMOST, {}};
    m_parts.tooltips = CreateWindowExW(popup.extended,
        TOOLTIPS_CLASSW,
        nullptr,
        popup.style,
        CW_USEDEFAULT,
        CW_USEDEFAULT,
        CW_USEDEFAULT,
        CW_USEDEFAULT,
        m_window,
        nullptr,
        m_instance,
        nullptr);
    if (!m_parts.tooltips) {
        refused("подсказки");
        return false;
    }
    for (const Control &control : m_controls.all()) {
        if (control.row->tip.empty())
            continue;
        std::wstring tip = wide(control.row->tip);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = m_window;
        tool.uId = reinterpret_cast<UINT_PTR>(control.hwnd);
        tool.lpszText = tip.data(); // the tooltip keeps a copy
        SendMessageW(m_parts.tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return true;
}

std::string Builder::build()
{
    if (!createTabs())
        return m_refused;
    // Tab follows the order of creation: the controls in the order they read, each field after the
    // label that names it (a screen reader names a field by the label just before it), then the rest.
    for (const std::string_view name : form::tabOrder()) {
        const ControlRow &row = *m_controls.named(name).row;
        if (const ControlRow *label = form::findControl(row.spoken); label && label->kind == Kind::Label
            && label->container == row.container && !createControl(*label))
            return m_refused;
        if (!createControl(row))
            return m_refused;
    }
    for (const ControlRow &row : form::controlRows())
        if (!createControl(row))
            return m_refused;
    // Below the pages and the bottom strip, which cover its display area and its lower edge.
    SetWindowPos(m_parts.tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return createTooltips() ? std::string() : m_refused;
}

} // namespace

std::string buildControls(
    HWND window, HINSTANCE instance, ControlTable &controls, WindowParts &parts, std::string_view refuse)
{
    return Builder(window, instance, controls, parts, refuse).build();
}

} // namespace win32
