#include "win32/main_window.h"

#include "engine/steps.h"
#include "form/inventory.h"
#include "report/report.h"
#include "win32/pictures.h"
#include "win32/program_files.h"
#include "win32/text.h"

// The accessibility annotations' ids are defined here: mingw's import libraries lack some.
#include <algorithm>
#include <commctrl.h>
#include <fstream>
#include <initguid.h>
#include <oleacc.h>
#include <uxtheme.h>
#include <windowsx.h>

namespace win32 {

using form::ControlRow;
using form::Kind;
namespace look = form::look;

namespace {

constexpr wchar_t kWindowClass[] = L"TarifMasterWindow";
constexpr wchar_t kContainerClass[] = L"TarifMasterContainer";

// Control ids: unique over the whole window and clear of IDOK and IDCANCEL, which the dialog keys send.
constexpr int kTabsId = 900;
constexpr int kFirstPageId = 901;
constexpr int kFirstControlId = 1000;

// The tab row's height, as the Linux window draws it: the pages' controls start just below it.
constexpr int kTabRowTwips = 23 * form::kTwipsPerPixel;
// A drop-down shows at most this many entries at once.
constexpr int kDropDownRows = 15;

const DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

bool isField(Kind kind)
{
    return kind == Kind::TextBox || kind == Kind::ListBox || kind == Kind::ComboBox;
}

bool isButton(Kind kind)
{
    return kind == Kind::Command || kind == Kind::Picture;
}

std::wstring windowText(HWND hwnd)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A label's line breaks as Windows' statics draw them, and back.
std::wstring withCarriageReturns(std::string_view text)
{
    std::wstring converted;
    for (const wchar_t c : wide(text)) {
        if (c == L'\n')
            converted += L'\r';
        converted += c;
    }
    return converted;
}

std::string withoutCarriageReturns(std::string text)
{
    std::erase(text, '\r');
    return text;
}

// What a screen reader says for a control: the caption of the label that names it, or a text of its own.
std::string spokenName(const ControlRow &row)
{
    std::string_view source = row.spoken;
    if (const ControlRow *label = form::findControl(source))
        source = label->caption;
    std::string spoken;
    for (const char c : source) {
        const bool space = c == ' ' || c == '\n';
        if (space && (spoken.empty() || spoken.back() == ' '))
            continue;
        spoken += space ? ' ' : c;
    }
    while (!spoken.empty() && spoken.back() == ' ')
        spoken.pop_back();
    return spoken;
}

// The lines of a text broken at spaces to fit width, each paragraph on lines of its own.
std::vector<std::wstring> wrappedLines(HDC dc, const std::wstring &text, int width)
{
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring paragraph = text.substr(start, end - start);
        std::erase(paragraph, L'\r');
        std::wstring line;
        std::size_t at = 0;
        while (at <= paragraph.size()) {
            std::size_t space = paragraph.find(L' ', at);
            if (space == std::wstring::npos)
                space = paragraph.size();
            const std::wstring word = paragraph.substr(at, space - at);
            const std::wstring longer = line.empty() ? word : line + L' ' + word;
            SIZE size{};
            GetTextExtentPoint32W(dc, longer.c_str(), static_cast<int>(longer.size()), &size);
            if (size.cx > width && !line.empty()) {
                lines.push_back(line);
                line = word;
            } else {
                line = longer;
            }
            at = space + 1;
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

} // namespace

MainWindow::MainWindow(HINSTANCE instance, TestSeams seams)
    : m_instance(instance)
    , m_seams(std::move(seams))
    , m_programFolder(programFolder())
    , m_form(*this)
{
}

MainWindow::~MainWindow()
{
    for (const Control &control : m_controls)
        if (control.picture)
            DeleteObject(control.picture);
    if (m_hand)
        DestroyCursor(m_hand);
    if (m_accessibility)
        m_accessibility->Release();
}

bool MainWindow::create(int show)
{
    WNDCLASSEXW window{};
    window.cbSize = sizeof window;
    window.lpfnWndProc = windowProc;
    window.hInstance = m_instance;
    window.hIcon = static_cast<HICON>(LoadImageW(m_instance,
        MAKEINTRESOURCEW(1),
        IMAGE_ICON,
        GetSystemMetrics(SM_CXICON),
        GetSystemMetrics(SM_CYICON),
        LR_DEFAULTCOLOR));
    window.hIconSm = static_cast<HICON>(LoadImageW(m_instance,
        MAKEINTRESOURCEW(1),
        IMAGE_ICON,
        GetSystemMetrics(SM_CXSMICON),
        GetSystemMetrics(SM_CYSMICON),
        LR_DEFAULTCOLOR));
    window.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    window.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window.lpszClassName = kWindowClass;
    WNDCLASSEXW container = window;
    container.lpfnWndProc = containerProc;
    container.hIcon = nullptr;
    container.hIconSm = nullptr;
    container.lpszClassName = kContainerClass;
    if (!RegisterClassExW(&window) || !RegisterClassExW(&container))
        return false;

    // Made at the primary screen's resolution; placed and sized at its own screen's once it exists.
    if (!CreateWindowExW(0,
            kWindowClass,
            wide(form::kFormCaption).c_str(),
            kWindowStyle,
            CW_USEDEFAULT,
            CW_USEDEFAULT,
            px(form::kClientWidthTwips, GetDpiForSystem()),
            px(form::kClientHeightTwips, GetDpiForSystem()),
            nullptr,
            nullptr,
            m_instance,
            this))
        return false;
    fitFrameTo(m_dpi);
    ShowWindow(m_hwnd, show);
    UpdateWindow(m_hwnd);
    SetFocus(m_tabs);
    if (m_seams.exitWhenShown) {
        RedrawWindow(m_hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        DestroyWindow(m_hwnd);
    }
    return true;
}

int MainWindow::run()
{
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn and Ctrl+PgUp page through the tabs from anywhere in the
        // window, unless the control with focus takes the key itself.
        if (msg.message == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0 && m_hwnd
            && (msg.hwnd == m_hwnd || IsChild(m_hwnd, msg.hwnd))) {
            int step = 0;
            if (msg.wParam == VK_TAB)
                step = GetKeyState(VK_SHIFT) < 0 ? -1 : +1;
            else if (msg.wParam == VK_NEXT)
                step = +1;
            else if (msg.wParam == VK_PRIOR)
                step = -1;
            if (step != 0
                && !(SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg))
                    & DLGC_WANTMESSAGE)) {
                stepPage(step);
                continue;
            }
        }
        if (m_hwnd && IsDialogMessageW(m_hwnd, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

LRESULT CALLBACK MainWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *self = reinterpret_cast<MainWindow *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<MainWindow *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const LRESULT result = self->handleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
    }
    return result;
}

// Pages and frames: they paint their ground (a frame also its etched border) and hand what their
// controls tell them to the main window, which has the one router.
LRESULT CALLBACK MainWindow::containerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto *frame = reinterpret_cast<const Control *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrW(hwnd,
            GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams));
        break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        return SendMessageW(GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
    case WM_ERASEBKGND: {
        RECT area;
        GetClientRect(hwnd, &area);
        FillRect(reinterpret_cast<HDC>(wParam),
            &area,
            frame ? paintOf(frame->looks, false).brush : GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_PAINT:
        if (frame) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd, &paint);
            RECT area;
            GetClientRect(hwnd, &area);
            DrawEdge(dc, &area, EDGE_ETCHED, BF_RECT);
            EndPaint(hwnd, &paint);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::controlProc(
    HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self)
{
    auto *window = reinterpret_cast<MainWindow *>(self);
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, controlProc, 0);
    else if (Control *control = window->controlOf(hwnd))
        return window->handleControlMessage(*control, message, wParam, lParam);
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        build();
        layout(GetDpiForWindow(m_hwnd));
        m_form.Form_Load();
        return 0;
    case WM_COMMAND:
        command(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY: {
        const auto *header = reinterpret_cast<const NMHDR *>(lParam);
        if (header->hwndFrom == m_tabs && header->code == TCN_SELCHANGE) {
            showPage(TabCtrl_GetCurSel(m_tabs));
        } else if (header->code == TTN_GETDISPINFOW && header->hwndFrom == TabCtrl_GetToolTips(m_tabs)) {
            // The tabs' tooltips say what each step is; their captions are only numbers.
            static std::wstring name;
            name = wide(form::stepNames()[std::min<std::size_t>(header->idFrom, 9)]);
            reinterpret_cast<NMTTDISPINFOW *>(lParam)->lpszText = name.data();
        }
        return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        if (const LRESULT brush = colours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
            return brush;
        break;
    case WM_DRAWITEM:
        drawTightLabel(*reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
        return TRUE;
    case DM_GETDEFID: {
        // Return presses the push button that has focus, whether focus came by Tab, mouse or code.
        const Control *focused = controlOf(GetFocus());
        if (focused && isButton(focused->row->kind))
            return MAKELRESULT(focused->id, DC_HASDEFID);
        return 0;
    }
    case WM_NEXTDLGCTL: {
        HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                   : GetNextDlgTabItem(m_hwnd, GetFocus(), wParam != 0);
        if (next)
            SetFocus(next);
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(m_hwnd, focus))
                m_savedFocus = focus;
        }
        break;
    case WM_SETFOCUS:
        SetFocus(
            m_savedFocus && IsWindow(m_savedFocus) && IsWindowVisible(m_savedFocus) ? m_savedFocus : m_tabs);
        return 0;
    case WM_DPICHANGED: {
        const RECT *suggested = reinterpret_cast<const RECT *>(lParam);
        layout(HIWORD(wParam));
        RECT frame{0, 0, px(form::kClientWidthTwips, m_dpi), px(form::kClientHeightTwips, m_dpi)};
        AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, 0, m_dpi);
        SetWindowPos(m_hwnd,
            nullptr,
            suggested->left,
            suggested->top,
            frame.right - frame.left,
            frame.bottom - frame.top,
            SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETNONCLIENTMETRICS)
            layout(m_dpi); // the message font changed
        break;
    case WM_SYSCOLORCHANGE:
        SendMessageW(m_tabs, WM_SYSCOLORCHANGE, wParam, lParam);
        if (m_tooltips)
            SendMessageW(m_tooltips, WM_SYSCOLORCHANGE, wParam, lParam);
        for (Control &control : m_controls) {
            SendMessageW(control.hwnd, WM_SYSCOLORCHANGE, wParam, lParam);
            makePicture(control); // drawn on the button face
        }
        InvalidateRect(m_hwnd, nullptr, TRUE);
        break;
    case WM_DESTROY:
        writeRecord();
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

// Building.

void MainWindow::build()
{
    m_tabs = CreateWindowExW(0,
        WC_TABCONTROLW,
        L"",
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | WS_GROUP | TCS_FIXEDWIDTH | TCS_TOOLTIPS,
        0,
        0,
        0,
        0,
        m_hwnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTabsId)),
        m_instance,
        nullptr);
    for (int page = 0; page < 10; ++page) {
        std::wstring caption = std::to_wstring(page + 1);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        TabCtrl_InsertItem(m_tabs, page, &item);
        // Pages are the tab control's siblings, above it; the window's name is what the page is.
        m_pages[page] = CreateWindowExW(WS_EX_CONTROLPARENT,
            kContainerClass,
            wide(form::stepNames()[static_cast<std::size_t>(page)]).c_str(),
            WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (page == 0 ? WS_VISIBLE : 0),
            0,
            0,
            0,
            0,
            m_hwnd,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstPageId + page)),
            m_instance,
            nullptr);
    }

    const std::span<const ControlRow> rows = form::controlRows();
    m_controls.resize(rows.size()); // never again: the frames keep pointers to their rows
    for (std::size_t i = 0; i < rows.size(); ++i) {
        m_controls[i].row = &rows[i];
        m_controls[i].id = kFirstControlId + static_cast<int>(i);
        m_controls[i].heightTwips = rows[i].height;
        m_controls[i].looks = rows[i].looks;
        m_byName.emplace(rows[i].name, i);
    }

    // Tab follows the order of creation: the controls in the order they read, each field after the
    // label that names it (a screen reader names a field by the label just before it), then the rest.
    for (const std::string_view name : form::tabOrder()) {
        const ControlRow &row = *controlOf(name).row;
        if (const ControlRow *label = form::findControl(row.spoken);
            label && label->kind == Kind::Label && label->container == row.container)
            createControl(*label);
        createControl(row);
    }
    for (const ControlRow &row : rows)
        createControl(row);
    // Below the pages and the bottom strip, which cover its display area and its lower edge.
    SetWindowPos(m_tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    nameForScreenReaders();
    addTooltips();
}

HWND MainWindow::containerOf(std::string_view container)
{
    if (container == "Form1")
        return m_hwnd;
    if (const std::optional<int> page = form::tabPage(container))
        return m_pages[*page];
    Control &frame = controlOf(container);
    createControl(*frame.row);
    return frame.hwnd;
}

void MainWindow::createControl(const ControlRow &row)
{
    Control &control = controlOf(row.name);
    if (control.hwnd)
        return;
    HWND parent = containerOf(row.container);

    DWORD style = WS_CHILD | ((row.looks & look::kHidden) ? 0 : WS_VISIBLE);
    DWORD extended = 0;
    const wchar_t *windowClass = WC_STATICW;
    std::wstring caption = wide(row.caption);
    switch (row.kind) {
    case Kind::Label:
        caption = withCarriageReturns(row.caption);
        style |= (row.looks & look::kTight) ? SS_OWNERDRAW : SS_LEFT | SS_NOPREFIX;
        break;
    case Kind::Link:
        style |= SS_LEFT | SS_NOPREFIX | SS_NOTIFY | WS_TABSTOP;
        break;
    case Kind::TextBox:
        windowClass = WC_EDITW;
        style |= ES_AUTOHSCROLL | WS_TABSTOP;
        extended = WS_EX_CLIENTEDGE;
        break;
    case Kind::ListBox:
        windowClass = WC_LISTBOXW;
        style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP;
        extended = WS_EX_CLIENTEDGE;
        break;
    case Kind::ComboBox:
        windowClass = WC_COMBOBOXW;
        style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
        break;
    case Kind::Option:
        windowClass = WC_BUTTONW;
        style |= BS_AUTORADIOBUTTON | BS_MULTILINE | WS_TABSTOP;
        break;
    case Kind::Check:
        windowClass = WC_BUTTONW;
        style |= BS_AUTOCHECKBOX | WS_TABSTOP;
        break;
    case Kind::Command:
        windowClass = WC_BUTTONW;
        style |= BS_PUSHBUTTON | WS_TABSTOP;
        break;
    case Kind::Picture:
        windowClass = WC_BUTTONW;
        style |= BS_PUSHBUTTON | BS_BITMAP | WS_TABSTOP;
        caption = wide(row.spoken); // not drawn: the picture shows the word
        break;
    case Kind::Frame:
        windowClass = kContainerClass;
        style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
        extended = WS_EX_CONTROLPARENT;
        break;
    case Kind::Image:
        style |= SS_BITMAP | SS_CENTERIMAGE;
        break;
    }
    // A group of option buttons runs until the next control of another kind in the same container;
    // the arrow keys move within it.
    const bool continuesGroup = row.kind == Kind::Option && !m_created.empty()
        && GetParent(m_created.back()) == parent && controlOf(m_created.back())
        && controlOf(m_created.back())->row->kind == Kind::Option;
    if (!continuesGroup)
        style |= WS_GROUP;

    control.hwnd = CreateWindowExW(extended,
        windowClass,
        caption.c_str(),
        style,
        0,
        0,
        0,
        0,
        parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
        m_instance,
        row.kind == Kind::Frame ? &control : nullptr);
    m_created.push_back(control.hwnd);

    switch (row.kind) {
    case Kind::TextBox:
    case Kind::Link:
        SetWindowSubclass(control.hwnd, controlProc, 0, reinterpret_cast<DWORD_PTR>(this));
        break;
    case Kind::ComboBox:
        for (const std::string_view entry : form::startEntries(row.name))
            SendMessageW(control.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(entry).c_str()));
        SendMessageW(control.hwnd,
            CB_SETCURSEL,
            static_cast<WPARAM>(SendMessageW(control.hwnd,
                CB_FINDSTRINGEXACT,
                static_cast<WPARAM>(-1),
                reinterpret_cast<LPARAM>(caption.c_str()))),
            0);
        SetWindowTextW(control.hwnd, caption.c_str());
        break;
    case Kind::Option:
        // A themed option button draws its caption in the theme's colour; the red warning keeps its red.
        if (row.looks & look::kRedText)
            SetWindowTheme(control.hwnd, L"", L"");
        break;
    default:
        break;
    }
}

void MainWindow::nameForScreenReaders()
{
    if (FAILED(CoCreateInstance(CLSID_AccPropServices,
            nullptr,
            CLSCTX_INPROC_SERVER,
            IID_IAccPropServices,
            reinterpret_cast<void **>(&m_accessibility))))
        return;
    for (const Control &control : m_controls) {
        const std::wstring spoken = wide(spokenName(*control.row));
        if (!spoken.empty())
            m_accessibility->SetHwndPropStr(control.hwnd,
                static_cast<DWORD>(OBJID_CLIENT),
                CHILDID_SELF,
                PROPID_ACC_NAME,
                spoken.c_str());
    }
    for (std::size_t tab = 0; tab < form::stepNames().size(); ++tab)
        m_accessibility->SetHwndPropStr(m_tabs,
            static_cast<DWORD>(OBJID_CLIENT),
            static_cast<DWORD>(tab + 1),
            PROPID_ACC_NAME,
            wide(form::stepNames()[tab]).c_str());
}

void MainWindow::addTooltips()
{
    m_tooltips = CreateWindowExW(WS_EX_TOPMOST,
        TOOLTIPS_CLASSW,
        nullptr,
        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
        CW_USEDEFAULT,
        CW_USEDEFAULT,
        CW_USEDEFAULT,
        CW_USEDEFAULT,
        m_hwnd,
        nullptr,
        m_instance,
        nullptr);
    for (const Control &control : m_controls) {
        if (control.row->tip.empty())
            continue;
        std::wstring tip = wide(control.row->tip);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = m_hwnd;
        tool.uId = reinterpret_cast<UINT_PTR>(control.hwnd);
        tool.lpszText = tip.data(); // the tooltip keeps a copy
        SendMessageW(m_tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// Placing: every control at its twips converted at the window's dots per inch.

void MainWindow::layout(UINT dpi)
{
    m_dpi = dpi;
    auto fonts = std::make_unique<FontSet>(dpi);
    SendMessageW(m_tabs, WM_SETFONT, reinterpret_cast<WPARAM>(fonts->font(look::kNone)), FALSE);
    const int *tabs = form::kTabControlTwips;
    RECT area{px(tabs[0], dpi), px(tabs[1], dpi), px(tabs[0] + tabs[2], dpi), px(tabs[1] + tabs[3], dpi)};
    SetWindowPos(m_tabs,
        nullptr,
        area.left,
        area.top,
        area.right - area.left,
        area.bottom - area.top,
        SWP_NOZORDER | SWP_NOACTIVATE);
    // Ten equal tabs in one row; a few pixels to spare, or the tab control scrolls its row.
    TabCtrl_SetItemSize(m_tabs, (area.right - area.left - 4) / 10, px(kTabRowTwips, dpi));
    TabCtrl_AdjustRect(m_tabs, FALSE, &area);
    // The bottom strip lies over the tab control's lower edge; the pages end where it begins.
    area.bottom = std::min<LONG>(area.bottom, px(form::findControl("Frame1")->top, dpi));
    m_pageOrigin = {area.left - px(tabs[0], dpi), area.top - px(tabs[1], dpi)};
    for (HWND page : m_pages)
        SetWindowPos(page,
            nullptr,
            area.left,
            area.top,
            area.right - area.left,
            area.bottom - area.top,
            SWP_NOZORDER | SWP_NOACTIVATE);

    for (Control &control : m_controls) {
        SendMessageW(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts->font(control.looks)), FALSE);
        placeControl(control);
        makePicture(control);
    }
    m_fonts = std::move(fonts); // the old fonts go only now, when no control uses them
    if (m_hand)
        DestroyCursor(m_hand);
    m_hand = handCursor(dpi);
    if (m_tooltips)
        SendMessageW(m_tooltips, TTM_SETMAXTIPWIDTH, 0, px(6000, dpi));
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

POINT MainWindow::originOf(const Control &control) const
{
    if (form::tabPage(control.row->container))
        return m_pageOrigin;
    return {0, 0};
}

void MainWindow::placeControl(Control &control)
{
    const ControlRow &row = *control.row;
    const POINT origin = originOf(control);
    const int rowHeight = px(form::kListRowTwips, m_dpi);
    int height = px(control.heightTwips, m_dpi);
    if (row.kind == Kind::ListBox)
        SendMessageW(control.hwnd, LB_SETITEMHEIGHT, 0, rowHeight);
    if (row.kind == Kind::ComboBox) {
        // The field is as high as the inventory says; the height given to the window is the field's
        // and the dropped list's together.
        const int field = height;
        SendMessageW(control.hwnd, CB_SETITEMHEIGHT, 0, rowHeight);
        SendMessageW(control.hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field - 6);
        RECT shown;
        GetWindowRect(control.hwnd, &shown);
        if (shown.bottom - shown.top != field && shown.bottom > shown.top)
            SendMessageW(control.hwnd,
                CB_SETITEMHEIGHT,
                static_cast<WPARAM>(-1),
                field - 6 + field - (shown.bottom - shown.top));
        const auto entries = static_cast<int>(SendMessageW(control.hwnd, CB_GETCOUNT, 0, 0));
        height = field + std::clamp(entries, 1, kDropDownRows) * rowHeight + 2;
    }
    SetWindowPos(control.hwnd,
        nullptr,
        px(row.left, m_dpi) - origin.x,
        px(row.top, m_dpi) - origin.y,
        px(row.width, m_dpi),
        height,
        SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::makePicture(Control &control)
{
    const std::string_view name = form::pictureOf(control.row->name);
    if (name.empty())
        return;
    HBITMAP picture = pictureBitmap(name, m_dpi, GetSysColor(COLOR_BTNFACE));
    if (!picture)
        return;
    if (control.row->kind == Kind::Image) {
        auto *replaced = reinterpret_cast<HBITMAP>(
            SendMessageW(control.hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
        if (replaced && replaced != control.picture)
            DeleteObject(replaced);
        // A static keeps a copy of a bitmap with an alpha channel, and then the bitmap is ours to delete.
        if (reinterpret_cast<HBITMAP>(SendMessageW(control.hwnd, STM_GETIMAGE, IMAGE_BITMAP, 0)) != picture) {
            DeleteObject(picture);
            picture = nullptr;
        }
    } else {
        SendMessageW(control.hwnd, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
    }
    if (control.picture)
        DeleteObject(control.picture);
    control.picture = picture;
}

// The window's frame around a client area of the inventory's size, centred on its screen's work area.
void MainWindow::fitFrameTo(UINT dpi)
{
    RECT frame{0, 0, px(form::kClientWidthTwips, dpi), px(form::kClientHeightTwips, dpi)};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, 0, dpi);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(m_hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT &work = monitor.rcWork;
    SetWindowPos(m_hwnd,
        nullptr,
        work.left + std::max(0L, (work.right - work.left - width) / 2),
        work.top + std::max(0L, (work.bottom - work.top - height) / 2),
        width,
        height,
        SWP_NOZORDER | SWP_NOACTIVATE);
}

// Events: what the controls tell the window, as the form's Click and Change.

void MainWindow::command(int id, int code)
{
    Control *control = controlById(id);
    if (!control)
        return; // IDOK and IDCANCEL of Return and Escape elsewhere, the pages
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

void MainWindow::raise(const Control &control, form::Event event)
{
    if (!m_changingForForm)
        m_form.raise(control.row->name, event);
}

// An option button clicks when it becomes selected, not when the selected one is clicked again.
void MainWindow::optionClicked(Control &option)
{
    const bool was = option.wasSelected;
    refreshOptions(GetParent(option.hwnd));
    if (option.wasSelected && !was)
        raise(option, form::Event::Click);
}

void MainWindow::refreshOptions(HWND container)
{
    for (Control &control : m_controls)
        if (control.row->kind == Kind::Option && GetParent(control.hwnd) == container)
            control.wasSelected = SendMessageW(control.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// A drop-down clicks once an entry is chosen from its list: by the mouse or Return in the opened list,
// or by the arrows while it is closed. Typing raises nothing, also when Return confirms typed text.
// While the list is open, the arrows only browse it; Escape drops what they browsed. Wine (and
// Windows) tell a choice by the mouse as SELENDOK, CLOSEUP and then SELCHANGE, a choice by the keys in
// the open list as SELCHANGEs and then SELENDOK: each is one Click.
void MainWindow::comboNotification(Control &combo, int code)
{
    switch (code) {
    case CBN_DROPDOWN:
        m_openList = {combo.id, false};
        return;
    case CBN_CLOSEUP:
        if (m_openList.id == combo.id)
            m_openList.id = 0;
        return;
    case CBN_SELENDCANCEL:
        m_openList.browsed = false;
        return;
    case CBN_SELCHANGE:
        if (m_openList.id == combo.id) {
            m_openList.browsed = true;
            return;
        }
        break;
    case CBN_SELENDOK:
        if (!m_openList.browsed)
            return;
        m_openList.browsed = false;
        break;
    default:
        return;
    }
    // The field shows the chosen entry before the form reads it.
    const auto chosen = SendMessageW(combo.hwnd, CB_GETCURSEL, 0, 0);
    if (chosen == CB_ERR)
        return;
    std::wstring entry(
        static_cast<std::size_t>(SendMessageW(combo.hwnd, CB_GETLBTEXTLEN, chosen, 0)) + 1, L'\0');
    entry.resize(static_cast<std::size_t>(
        SendMessageW(combo.hwnd, CB_GETLBTEXT, chosen, reinterpret_cast<LPARAM>(entry.data()))));
    if (windowText(combo.hwnd) != entry) {
        m_changingForForm = true;
        SetWindowTextW(combo.hwnd, entry.c_str());
        m_changingForForm = false;
    }
    raise(combo, form::Event::Click);
}

// What subclassed controls do beyond their class: a click into a text box, the links' keys, cursor and
// focus mark.
LRESULT MainWindow::handleControlMessage(Control &control, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hwnd = control.hwnd;
    switch (control.row->kind) {
    case Kind::TextBox:
        if (message == WM_LBUTTONUP) {
            const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
            RECT area;
            GetClientRect(hwnd, &area);
            if (PtInRect(&area, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
                raise(control, form::Event::Click);
            return result;
        }
        break;
    case Kind::Link:
        switch (message) {
        case WM_GETDLGCODE: {
            const auto *key = reinterpret_cast<const MSG *>(lParam);
            if (key && key->message == WM_KEYDOWN && (key->wParam == VK_RETURN || key->wParam == VK_SPACE))
                return DLGC_WANTMESSAGE;
            break;
        }
        case WM_KEYDOWN:
            if ((wParam == VK_RETURN || wParam == VK_SPACE) && !(lParam & (1 << 30)))
                raise(control, form::Event::Click);
            return 0;
        case WM_SETCURSOR:
            SetCursor(m_hand);
            return TRUE;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(hwnd, nullptr, TRUE);
            break;
        case WM_PAINT: {
            // The link paints itself, to draw the focus mark around its text when it has focus.
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd, &paint);
            const Paint colours = paintOf(control.looks, false);
            RECT area{};
            GetClientRect(hwnd, &area);
            FillRect(dc, &area, colours.brush);
            HGDIOBJ font = SelectObject(dc, m_fonts->font(control.looks));
            SetTextColor(dc, colours.text);
            SetBkMode(dc, TRANSPARENT);
            const std::wstring text = windowText(hwnd);
            DrawTextW(dc, text.c_str(), -1, &area, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
            if (GetFocus() == hwnd) {
                RECT mark = area;
                DrawTextW(dc, text.c_str(), -1, &mark, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
                InflateRect(&mark, 2, 1);
                IntersectRect(&mark, &mark, &area);
                // Dotted in the link's own colour: the inverting focus mark of Windows vanishes on grey.
                LOGBRUSH dots{BS_SOLID, colours.text, 0};
                HPEN pen = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &dots, 0, nullptr);
                HGDIOBJ oldPen = SelectObject(dc, pen);
                HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
                Rectangle(dc, mark.left, mark.top, mark.right, mark.bottom);
                SelectObject(dc, oldBrush);
                DeleteObject(SelectObject(dc, oldPen));
            }
            SelectObject(dc, font);
            EndPaint(hwnd, &paint);
            return 0;
        }
        default:
            break;
        }
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

void MainWindow::showPage(int page)
{
    if (page < 0 || page >= 10 || page == m_page)
        return;
    HWND old = m_pages[m_page];
    m_page = page;
    ShowWindow(m_pages[page], SW_SHOWNA);
    // Focus never stays on a hidden page.
    HWND focus = GetFocus();
    if (focus && IsChild(old, focus)) {
        HWND first = firstControlOf(page);
        SetFocus(first ? first : m_tabs);
    }
    ShowWindow(old, SW_HIDE);
}

void MainWindow::stepPage(int step)
{
    const int next = (m_page + step + 10) % 10;
    TabCtrl_SetCurFocus(m_tabs, next); // as a click on the tab: TCN_SELCHANGE shows the page
    showPage(next);
    HWND first = firstControlOf(next);
    SetFocus(first ? first : m_tabs);
}

HWND MainWindow::firstControlOf(int page) const
{
    HWND first = GetNextDlgTabItem(m_pages[page], nullptr, FALSE);
    return first && IsChild(m_pages[page], first) ? first : nullptr;
}

LRESULT MainWindow::colours(HDC dc, HWND hwnd)
{
    const Control *control = controlOf(hwnd);
    if (!control) // the edit field or the list of a combo box
        control = controlOf(GetParent(hwnd));
    if (!control)
        return 0;
    const Paint paint = paintOf(control->looks, isField(control->row->kind));
    SetTextColor(dc, paint.text);
    SetBkColor(dc, paint.background);
    return reinterpret_cast<LRESULT>(paint.brush);
}

// A label whose lines stand closer than the font's own spacing, where five lines share the height of
// four.
void MainWindow::drawTightLabel(const DRAWITEMSTRUCT &item)
{
    const Control *control = controlOf(item.hwndItem);
    if (!control)
        return;
    const Paint paint = paintOf(control->looks, false);
    FillRect(item.hDC, &item.rcItem, paint.brush);
    HGDIOBJ font = SelectObject(item.hDC, m_fonts->font(control->looks));
    SetTextColor(item.hDC, paint.text);
    SetBkMode(item.hDC, TRANSPARENT);
    TEXTMETRICW metrics{};
    GetTextMetricsW(item.hDC, &metrics);
    const int step = metrics.tmHeight * 86 / 100;
    int top = item.rcItem.top;
    for (const std::wstring &line :
        wrappedLines(item.hDC, windowText(item.hwndItem), item.rcItem.right - item.rcItem.left)) {
        TextOutW(item.hDC, item.rcItem.left, top, line.c_str(), static_cast<int>(line.size()));
        top += step;
    }
    SelectObject(item.hDC, font);
}

// The test record: what a test cannot read from the screen.
void MainWindow::writeRecord() const
{
    if (m_seams.record.empty())
        return;
    std::ofstream out(m_seams.record, std::ios::binary);
    const auto line = [&out](std::string_view name, std::string text) {
        std::size_t at = 0;
        while ((at = text.find('\n', at)) != std::string::npos)
            text.replace(at, 1, "\\n");
        out << name << '=' << text << '\n';
    };
    std::vector<std::string_view> fields(engine::kFactorFields.begin(), engine::kFactorFields.end());
    fields.insert(fields.end(), {"Text1", "Text10", "Text13"});
    for (const std::string_view field : fields)
        line(field, text(field));
    for (const std::string &recorded : m_recorded) {
        const std::size_t equals = recorded.find('=');
        line(recorded.substr(0, equals), recorded.substr(equals + 1));
    }
    RECT client{};
    GetClientRect(m_hwnd, &client);
    out << "client=" << client.right << ',' << client.bottom << "\ndpi=" << m_dpi << '\n';
    for (const Control &control : m_controls) {
        RECT area{};
        GetWindowRect(control.hwnd, &area);
        MapWindowPoints(HWND_DESKTOP, m_hwnd, reinterpret_cast<POINT *>(&area), 2);
        if (control.row->kind == Kind::ComboBox) { // the field alone, not the list it drops
            RECT field{};
            GetClientRect(control.hwnd, &field);
            area.bottom = area.top + field.bottom;
        }
        out << "rect:" << control.row->name << '=' << area.left << ',' << area.top << ','
            << area.right - area.left << ',' << area.bottom - area.top
            << ((GetWindowLongW(control.hwnd, GWL_STYLE) & WS_VISIBLE) ? "" : ",hidden") << '\n';
    }
}

// The controls by name, as the form names them.

MainWindow::Control &MainWindow::controlOf(std::string_view name)
{
    const auto found = m_byName.find(name);
    if (found == m_byName.end()) // the form names a control the inventory lost: nothing could work
        FatalAppExitW(0, wide("Form1: no control " + std::string(name)).c_str());
    return m_controls[found->second];
}

const MainWindow::Control &MainWindow::controlOf(std::string_view name) const
{
    return const_cast<MainWindow *>(this)->controlOf(name);
}

MainWindow::Control *MainWindow::controlOf(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    // A drop-down's own edit field and list carry ids of their own (1001, 1000), which are not ours.
    Control *control = controlById(GetDlgCtrlID(hwnd));
    return control && control->hwnd == hwnd ? control : nullptr;
}

MainWindow::Control *MainWindow::controlById(int id)
{
    const int index = id - kFirstControlId;
    if (index < 0 || index >= static_cast<int>(m_controls.size())
        || !m_controls[static_cast<std::size_t>(index)].hwnd)
        return nullptr;
    return &m_controls[static_cast<std::size_t>(index)];
}

// form::Controls over the windows.

std::string MainWindow::text(std::string_view control) const
{
    const Control &shown = controlOf(control);
    std::string text = utf8(windowText(shown.hwnd));
    return shown.row->kind == Kind::Label ? withoutCarriageReturns(std::move(text)) : text;
}

void MainWindow::setText(std::string_view control, std::string_view text)
{
    const Control &shown = controlOf(control);
    m_changingForForm = true;
    const std::wstring wideText = shown.row->kind == Kind::Label ? withCarriageReturns(text) : wide(text);
    SetWindowTextW(shown.hwnd, wideText.c_str());
    m_changingForForm = false;
}

std::optional<std::string> MainWindow::chosenEntry(std::string_view list) const
{
    HWND box = controlOf(list).hwnd;
    const auto chosen = SendMessageW(box, LB_GETCURSEL, 0, 0);
    if (chosen == LB_ERR)
        return std::nullopt;
    std::wstring entry(static_cast<std::size_t>(SendMessageW(box, LB_GETTEXTLEN, chosen, 0)) + 1, L'\0');
    entry.resize(static_cast<std::size_t>(
        SendMessageW(box, LB_GETTEXT, chosen, reinterpret_cast<LPARAM>(entry.data()))));
    return utf8(entry);
}

void MainWindow::setEntries(std::string_view list, std::span<const std::string_view> entries)
{
    HWND box = controlOf(list).hwnd;
    m_changingForForm = true;
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
    m_changingForForm = false;
}

void MainWindow::setHeight(std::string_view control, int twips)
{
    Control &resized = controlOf(control);
    resized.heightTwips = twips;
    placeControl(resized);
}

void MainWindow::setLooks(std::string_view control, unsigned looks)
{
    Control &changed = controlOf(control);
    changed.looks = looks;
    SendMessageW(changed.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_fonts->font(looks)), FALSE);
    InvalidateRect(changed.hwnd, nullptr, TRUE);
}

bool MainWindow::checked(std::string_view control) const
{
    return SendMessageW(controlOf(control).hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::select(std::string_view option)
{
    HWND chosen = controlOf(option).hwnd;
    HWND container = GetParent(chosen);
    m_changingForForm = true;
    for (Control &control : m_controls)
        if (control.row->kind == Kind::Option && GetParent(control.hwnd) == container)
            SendMessageW(control.hwnd, BM_SETCHECK, control.hwnd == chosen ? BST_CHECKED : BST_UNCHECKED, 0);
    refreshOptions(container);
    m_changingForForm = false;
}

void MainWindow::setVisible(std::string_view control, bool visible)
{
    ShowWindow(controlOf(control).hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

void MainWindow::inform(std::string_view text)
{
    m_recorded.push_back("message=" + std::string(text));
    MessageBoxW(m_hwnd, wide(text).c_str(), wide(form::kFormCaption).c_str(), MB_OK | MB_ICONINFORMATION);
}

void MainWindow::warn(std::string_view text)
{
    m_recorded.push_back("message=" + std::string(text));
    MessageBoxW(m_hwnd, wide(text).c_str(), wide(form::kFormCaption).c_str(), MB_OK | MB_ICONWARNING);
}

void MainWindow::open(const form::ShellTarget &target)
{
    m_recorded.push_back("open="
        + (target.kind == form::ShellTarget::Kind::HelpPage
                ? utf8((m_programFolder / wide(target.text)).native())
                : target.text));
    openWithShell(target, m_programFolder);
}

report::WriteResult MainWindow::saveReport(form::ReportKind kind, const report::ReportInput &input)
{
    const std::filesystem::path folder = reportFolder(m_programFolder);
    if (kind == form::ReportKind::Text)
        return report::writeTextReport(input, folder);
    return report::writeDocumentReport(
        input, folder, readReportPicture(m_programFolder / wide(report::kPictureName)));
}

form::StartTime MainWindow::startTime() const
{
    if (m_seams.start)
        return *m_seams.start;
    // The user's short date and time formats, as the regional settings give them.
    wchar_t date[128] = {};
    wchar_t time[128] = {};
    GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 128, nullptr);
    GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, nullptr, nullptr, time, 128);
    return {utf8(date), utf8(time)};
}

void MainWindow::endProgram()
{
    DestroyWindow(m_hwnd);
}

} // namespace win32
