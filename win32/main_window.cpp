#include "win32/main_window.h"

#include "win32/container.h"
#include "win32/layout.h"
#include "win32/painters.h"
#include "win32/pictures.h"
#include "win32/program_files.h"
#include "win32/text.h"
#include "win32/window_proc.h"

#include <commctrl.h>
#include <shellapi.h>

namespace win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"TarifMasterWindow";

HICON programIcon(HINSTANCE instance, int width, int height)
{
    // Shared: the system keeps the icon as long as the program runs.
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, width, height, LR_SHARED));
}

} // namespace

MainWindow::MainWindow(HINSTANCE instance, TestSeams seams, MainWindowEvents events)
    : m_instance(instance)
    , m_seams(std::move(seams))
    , m_events(std::move(events))
    , m_windowControls(m_state, programFolder(), m_seams.start)
    , m_record(
          m_seams.record ? std::make_unique<RecordingControls>(m_windowControls, m_seams.record) : nullptr)
    , m_form(formControls())
    , m_router(m_state, m_form)
{
}

MainWindow::~MainWindow()
{
    // The controls go first, while the fonts, brushes, pictures and cursor they draw with still stand.
    if (m_state.window)
        DestroyWindow(m_state.window);
}

form::Controls &MainWindow::formControls()
{
    if (m_record)
        return *m_record;
    return m_windowControls;
}

bool MainWindow::registerClasses(HINSTANCE instance)
{
    WNDCLASSEXW window{};
    window.cbSize = sizeof window;
    window.lpfnWndProc = windowProcOf<MainWindow>;
    window.hInstance = instance;
    window.hIcon = programIcon(instance, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    window.hIconSm = programIcon(instance, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    window.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    window.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window.lpszClassName = kWindowClass;
    return RegisterClassExW(&window) && registerContainerClass(instance);
}

std::string MainWindow::create(int show)
{
    // Made at the primary screen's resolution; placed and sized at its own screen's once it exists.
    const UINT systemDpi = GetDpiForSystem();
    if (!CreateWindowExW(WS_EX_ACCEPTFILES,
            kWindowClass,
            wide(form::kFormCaption).c_str(),
            kWindowStyle,
            CW_USEDEFAULT,
            CW_USEDEFAULT,
            pixels(form::kClientWidthTwips, systemDpi),
            pixels(form::kClientHeightTwips, systemDpi),
            nullptr,
            nullptr,
            m_instance,
            this))
        return m_refused.empty() ? std::string("Form1") : m_refused;
    if (m_record)
        m_record->opened(m_state.controls);
    fitFrame(m_state.window, m_state.dpi);
    ShowWindow(m_state.window, show);
    UpdateWindow(m_state.window);
    SetFocus(m_parts.tabs);
    if (m_record && m_seams.accessible)
        m_record->accessible(m_state.controls, m_parts.tabs);
    if (m_seams.exitWhenShown) {
        RedrawWindow(m_state.window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        DestroyWindow(m_state.window);
    }
    return {};
}

void MainWindow::created(HWND hwnd)
{
    m_state.window = hwnd;
}

void MainWindow::destroyed()
{
    m_state.window = nullptr;
}

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = m_state.window;
    switch (message) {
    case WM_CREATE:
        return built() ? 0 : -1;
    case WM_COMMAND:
        m_router.command(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY:
        notified(*reinterpret_cast<const NMHDR *>(lParam), lParam);
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        if (const LRESULT brush = colours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
            return brush;
        break;
    case WM_DRAWITEM:
        drawItem(*reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
        return TRUE;
    case DM_GETDEFID:
        return defaultButton();
    case WM_NEXTDLGCTL: {
        HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                   : GetNextDlgTabItem(window, GetFocus(), wParam != 0);
        if (next)
            SetFocus(next);
        return 0;
    }
    case WM_ACTIVATE:
        if (HWND focus = GetFocus(); LOWORD(wParam) == WA_INACTIVE && focus && IsChild(window, focus))
            m_savedFocus = focus;
        break;
    case WM_SETFOCUS:
        SetFocus(m_savedFocus && IsWindow(m_savedFocus) && IsWindowVisible(m_savedFocus) ? m_savedFocus
                                                                                         : m_parts.tabs);
        return 0;
    case WM_DPICHANGED:
        dpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT *>(lParam));
        return 0;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETNONCLIENTMETRICS)
            relayout(m_state.dpi); // the message font changed
        break;
    case WM_SYSCOLORCHANGE:
        systemColoursChanged(wParam, lParam);
        break;
    case WM_DROPFILES:
        dropped(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_DESTROY:
        closing();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// WM_CREATE: the controls, their places and names, then the form's start-up.
bool MainWindow::built()
{
    m_refused = buildControls(m_state.window, m_instance, m_state.controls, m_parts, m_seams.refuse);
    if (!m_refused.empty())
        return false;
    m_router.subclassControls();
    // A desktop without annotations keeps the names Windows gives; the test record says which it was.
    const HRESULT named = m_names.annotate(m_state.controls, m_parts.tabs);
    if (m_record) {
        wchar_t code[16] = {};
        wsprintfW(code, L"0x%08lX", static_cast<unsigned long>(named));
        m_record->line("annotations", utf8(code));
    }
    relayout(GetDpiForWindow(m_state.window));
    m_form.Form_Load();
    return true;
}

// Every control at its twips converted at dpi, in the fonts of that resolution.
void MainWindow::relayout(UINT dpi)
{
    m_state.dpi = dpi;
    auto fonts = std::make_unique<FontSet>(dpi);
    SendMessageW(m_parts.tabs, WM_SETFONT, reinterpret_cast<WPARAM>(fonts->font(form::look::kNone)), FALSE);
    m_state.pageOrigin = placePages(m_parts, dpi);
    for (Control &control : m_state.controls.all()) {
        SendMessageW(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts->font(control.looks)), FALSE);
        placeControl(control, dpi, m_state.pageOrigin);
        showPicture(control, dpi);
    }
    m_state.fonts = std::move(fonts); // the old fonts go only now, when no control uses them
    m_state.hand = handCursor(dpi);
    SendMessageW(m_parts.tooltips, TTM_SETMAXTIPWIDTH, 0, pixels(6000, dpi));
    InvalidateRect(m_state.window, nullptr, TRUE);
}

void MainWindow::dpiChanged(UINT dpi, const RECT &suggested)
{
    relayout(dpi);
    const SIZE size = frameSize(dpi);
    place(m_state.window, PixelRect{suggested.left, suggested.top, size.cx, size.cy});
}

void MainWindow::systemColoursChanged(WPARAM wParam, LPARAM lParam)
{
    SendMessageW(m_parts.tabs, WM_SYSCOLORCHANGE, wParam, lParam);
    SendMessageW(m_parts.tooltips, WM_SYSCOLORCHANGE, wParam, lParam);
    for (Control &control : m_state.controls.all()) {
        SendMessageW(control.hwnd, WM_SYSCOLORCHANGE, wParam, lParam);
        showPicture(control, m_state.dpi); // drawn on the button face
    }
    InvalidateRect(m_state.window, nullptr, TRUE);
}

void MainWindow::notified(const NMHDR &header, LPARAM lParam)
{
    if (header.hwndFrom == m_parts.tabs && header.code == TCN_SELCHANGE) {
        showPage(TabCtrl_GetCurSel(m_parts.tabs));
    } else if (header.code == TTN_GETDISPINFOW && header.hwndFrom == TabCtrl_GetToolTips(m_parts.tabs)) {
        // The tabs' tooltips say what each step is; their captions are only numbers. The tooltip copies
        // the text before the next one is asked for.
        static std::wstring name;
        name = wide(form::stepNames()[std::min<std::size_t>(header.idFrom, form::kPageCount - 1)]);
        reinterpret_cast<NMTTDISPINFOW *>(lParam)->lpszText = name.data();
    }
}

// The colours of a control, of a drop-down's own field or list, and of a page or frame behind its
// controls; 0 leaves Windows' own.
LRESULT MainWindow::colours(HDC dc, HWND hwnd)
{
    const Control *control = m_state.controls.of(hwnd);
    if (!control)
        control = m_state.controls.of(GetParent(hwnd));
    if (!control)
        return 0;
    const Paint paint = m_state.paintOf(*control);
    SetTextColor(dc, paint.text);
    SetBkColor(dc, paint.background);
    return reinterpret_cast<LRESULT>(paint.brush);
}

void MainWindow::drawItem(const DRAWITEMSTRUCT &item)
{
    if (const Control *label = m_state.controls.of(item.hwndItem);
        label && label->row->kind == form::Kind::Label)
        paintTightLabel(item, m_state.fonts->font(label->looks), m_state.paintOf(*label));
}

// Return presses the push button that has focus, whether focus came by Tab, mouse or code.
LRESULT MainWindow::defaultButton()
{
    const Control *focused = m_state.controls.of(GetFocus());
    if (focused && isButton(focused->row->kind))
        return MAKELRESULT(focused->id, DC_HASDEFID);
    return 0;
}

void MainWindow::closing()
{
    if (m_record)
        m_record->closing(m_state.controls, m_state.window, m_state.dpi);
    if (m_refused.empty() && m_events.closed) // a window never built leaves the start-up's message box open
        m_events.closed();
}

// A file dropped on the window is a vehicle list for the fleet window: the first, if several.
void MainWindow::dropped(HDROP drop)
{
    const std::wstring file = firstDroppedFile(drop);
    if (!file.empty() && m_events.listDropped)
        m_events.listDropped(file);
}

bool MainWindow::pageKey(const MSG &msg)
{
    HWND window = m_state.window;
    if (msg.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0 || !window
        || (msg.hwnd != window && !IsChild(window, msg.hwnd)))
        return false;
    int step = 0;
    if (msg.wParam == VK_TAB)
        step = GetKeyState(VK_SHIFT) < 0 ? -1 : +1;
    else if (msg.wParam == VK_NEXT)
        step = +1;
    else if (msg.wParam == VK_PRIOR)
        step = -1;
    MSG asked = msg;
    if (step == 0
        || (SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&asked))
            & DLGC_WANTMESSAGE))
        return false;
    stepPage(step);
    return true;
}

void MainWindow::showPage(int page)
{
    if (page < 0 || page >= form::kPageCount || page == m_page)
        return;
    HWND old = m_parts.pages[static_cast<std::size_t>(m_page)];
    m_page = page;
    ShowWindow(m_parts.pages[static_cast<std::size_t>(page)], SW_SHOWNA);
    // Focus never stays on a hidden page.
    HWND focus = GetFocus();
    if (focus && IsChild(old, focus)) {
        HWND first = firstControlOf(page);
        SetFocus(first ? first : m_parts.tabs);
    }
    ShowWindow(old, SW_HIDE);
}

void MainWindow::stepPage(int step)
{
    const int next = (m_page + step + form::kPageCount) % form::kPageCount;
    TabCtrl_SetCurFocus(m_parts.tabs, next); // as a click on the tab: TCN_SELCHANGE shows the page
    showPage(next);
    HWND first = firstControlOf(next);
    SetFocus(first ? first : m_parts.tabs);
}

HWND MainWindow::firstControlOf(int page) const
{
    HWND container = m_parts.pages[static_cast<std::size_t>(page)];
    HWND first = GetNextDlgTabItem(container, nullptr, FALSE);
    return first && IsChild(container, first) ? first : nullptr;
}

} // namespace win32
