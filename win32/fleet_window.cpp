#include "win32/fleet_window.h"

#include "form/fleet_texts.h"
#include "win32/layout.h"
#include "win32/recording_fleet.h"
#include "win32/text.h"
#include "win32/window_proc.h"

#include <algorithm>
#include <commctrl.h>
#include <shellapi.h>

namespace win32 {

namespace ft = form::fleet_text;

namespace {

constexpr wchar_t kFleetClass[] = L"TarifMasterFleet";
constexpr DWORD kFleetStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

// Control ids: the buttons in the order of form::FleetButton, then the rest.
constexpr int kFirstButtonId = 100;
constexpr int kListId = 200;

constexpr std::array<std::string_view, kFleetButtons> kButtonCaptions
    = {ft::kChooseButton, ft::kStopButton, ft::kOpenResultButton, ft::kShowInFolderButton};
constexpr std::array<std::string_view, 3> kColumns = {ft::kRowColumn, ft::kColumnsColumn, ft::kReasonColumn};
constexpr std::array<std::string_view, kSummaryLines> kCaptions
    = {ft::kComputedCaption, ft::kRejectedCaption, ft::kTotalCaption, ft::kResultCaption};

std::unique_ptr<form::FleetControls> recorderFor(const TestSeams &seams, form::FleetControls &window)
{
    if (!seams.record)
        return nullptr;
    return std::make_unique<RecordingFleetControls>(window, seams.record);
}

} // namespace

FleetWindow::FleetWindow(HINSTANCE instance, const TestSeams &seams, std::function<void()> closed)
    : m_instance(instance)
    , m_closed(std::move(closed))
    , m_windowControls(m_parts)
    , m_record(recorderFor(seams, m_windowControls))
    , m_form(m_record ? *m_record : m_windowControls)
{
}

FleetWindow::~FleetWindow()
{
    if (HWND window = m_parts.window.load())
        DestroyWindow(window); // stops a run and waits for it, before the controls go
}

bool FleetWindow::registerClass(HINSTANCE instance)
{
    WNDCLASSEXW fleet{};
    fleet.cbSize = sizeof fleet;
    fleet.lpfnWndProc = windowProcOf<FleetWindow>;
    fleet.hInstance = instance;
    fleet.hIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    fleet.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    fleet.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    fleet.lpszClassName = kFleetClass;
    return RegisterClassExW(&fleet) != 0;
}

bool FleetWindow::create(int show)
{
    const SIZE size = frameSize(kFleetWidthTwips, kFleetHeightTwips, kFleetStyle, GetDpiForSystem());
    if (!CreateWindowExW(WS_EX_ACCEPTFILES,
            kFleetClass,
            wide(ft::kTitle).c_str(),
            kFleetStyle,
            CW_USEDEFAULT,
            CW_USEDEFAULT,
            size.cx,
            size.cy,
            nullptr,
            nullptr,
            m_instance,
            this))
        return false;
    HWND window = m_parts.window.load();
    const UINT dpi = GetDpiForWindow(window);
    if (dpi != GetDpiForSystem()) { // made on another screen: its own size there
        const SIZE own = frameSize(kFleetWidthTwips, kFleetHeightTwips, kFleetStyle, dpi);
        SetWindowPos(window, nullptr, 0, 0, own.cx, own.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(window, show);
    UpdateWindow(window);
    SetFocus(m_parts.buttons[0]);
    m_shown = true;
    return true;
}

void FleetWindow::compute(const std::filesystem::path &list)
{
    m_form.compute(list);
}

void FleetWindow::created(HWND hwnd)
{
    m_parts.window = hwnd;
}

LRESULT FleetWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = m_parts.window.load();
    switch (message) {
    case WM_CREATE:
        return build() ? 0 : -1;
    case WM_SIZE:
        relayout(m_parts.dpi);
        return 0;
    case WM_DPICHANGED: {
        // The fonts first: moving the window lays it out again at the resolution it then has.
        relayout(HIWORD(wParam));
        place(window, *reinterpret_cast<const RECT *>(lParam));
        return 0;
    }
    case WM_GETMINMAXINFO: {
        const SIZE least = frameSize(kFleetMinWidthTwips, kFleetMinHeightTwips, kFleetStyle, m_parts.dpi);
        reinterpret_cast<MINMAXINFO *>(lParam)->ptMinTrackSize = {least.cx, least.cy};
        return 0;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            command(LOWORD(wParam));
        return 0;
    case WM_NOTIFY:
        return notified(*reinterpret_cast<const NMHDR *>(lParam), lParam);
    case WM_DROPFILES:
        dropped(reinterpret_cast<HDROP>(wParam));
        return 0;
    case kRunTaskMessage:
        runTask(lParam);
        return 0;
    case kAskForListMessage:
        m_form.Choose_Click();
        return 0;
    case WM_CLOSE:
        closing();
        return 0;
    default:
        if (message == TaskbarProgress::buttonCreatedMessage()) {
            m_parts.taskbar.connect(window);
            return 0;
        }
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND FleetWindow::make(const wchar_t *windowClass, DWORD style, int id, std::wstring_view text)
{
    const std::wstring caption(text);
    const bool sunken = std::wstring_view(windowClass) == WC_LISTVIEWW;
    return CreateWindowExW(sunken ? WS_EX_CLIENTEDGE : 0,
        windowClass,
        caption.c_str(),
        WS_CHILD | WS_VISIBLE | style,
        0,
        0,
        0,
        0,
        m_parts.window.load(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        m_instance,
        nullptr);
}

// WM_CREATE: the controls in the order Tab visits them, then the form's first look.
bool FleetWindow::build()
{
    m_parts.dpi = GetDpiForWindow(m_parts.window.load());
    m_parts.status = make(WC_STATICW, SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, -1);
    m_parts.progress = make(PROGRESS_CLASSW, 0, -1);
    for (std::size_t i = 0; i < kSummaryLines; ++i) {
        m_parts.captions[i] = make(WC_STATICW, SS_LEFT | SS_NOPREFIX, -1);
        m_parts.values[i] = make(WC_STATICW, SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, -1);
    }
    m_parts.list = make(WC_LISTVIEWW,
        LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP | WS_GROUP,
        kListId);
    m_parts.more = make(WC_STATICW, SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, -1);
    for (std::size_t i = 0; i < kFleetButtons; ++i)
        m_parts.buttons[i] = make(WC_BUTTONW,
            BS_PUSHBUTTON | WS_TABSTOP | (i == 0 ? WS_GROUP : 0),
            kFirstButtonId + static_cast<int>(i),
            wide(kButtonCaptions[i]));
    const bool made = m_parts.status && m_parts.progress && m_parts.list && m_parts.more
        && std::ranges::all_of(m_parts.captions,
            [](HWND h) {
                return h != nullptr;
            })
        && std::ranges::all_of(m_parts.values,
            [](HWND h) {
                return h != nullptr;
            })
        && std::ranges::all_of(m_parts.buttons, [](HWND h) {
               return h != nullptr;
           });
    if (!made)
        return false;
    SendMessageW(m_parts.progress, PBM_SETRANGE32, 0, 100);
    ListView_SetExtendedListViewStyle(
        m_parts.list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP);
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        std::wstring caption = wide(kColumns[i]);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_SUBITEM;
        column.pszText = caption.data();
        column.iSubItem = static_cast<int>(i);
        ListView_InsertColumn(m_parts.list, static_cast<int>(i), &column);
    }
    // What a screen reader says for the parts no caption names; the buttons say their captions.
    m_names.name(m_parts.progress, ft::kProgressName);
    m_names.name(m_parts.list, ft::kRejectedRowsName);
    relayout(m_parts.dpi);
    m_form.open();
    return true;
}

FleetMeasures FleetWindow::measure(HFONT font) const
{
    FleetMeasures measures;
    HDC dc = GetDC(m_parts.window.load());
    HGDIOBJ earlier = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    measures.lineHeight = metrics.tmHeight;
    const auto width = [dc](std::string_view text) {
        const std::wstring shown = wide(text);
        SIZE size{};
        GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
        return static_cast<int>(size.cx);
    };
    for (const std::string_view caption : kCaptions)
        measures.captionWidth = std::max(measures.captionWidth, width(caption));
    for (std::size_t i = 0; i < kFleetButtons; ++i)
        measures.buttonTexts[i] = width(kButtonCaptions[i]);
    SelectObject(dc, earlier);
    ReleaseDC(m_parts.window.load(), dc);
    return measures;
}

// Every control at its place in the client area, in the fonts of the resolution.
void FleetWindow::relayout(UINT dpi)
{
    if (!m_parts.fonts || dpi != m_parts.dpi) {
        auto fonts = std::make_unique<FontSet>(dpi);
        const auto font = reinterpret_cast<WPARAM>(fonts->font(form::look::kNone));
        for (HWND child = GetWindow(m_parts.window.load(), GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT))
            SendMessageW(child, WM_SETFONT, font, FALSE);
        m_parts.fonts = std::move(fonts); // the old fonts go once no control uses them
        m_parts.dpi = dpi;
    }
    RECT client{};
    GetClientRect(m_parts.window.load(), &client);
    const FleetPlaces places
        = placeFleet(client.right, client.bottom, dpi, measure(m_parts.fonts->font(form::look::kNone)));
    place(m_parts.status, places.status);
    place(m_parts.progress, places.progress);
    for (std::size_t i = 0; i < kSummaryLines; ++i) {
        place(m_parts.captions[i], places.captions[i]);
        place(m_parts.values[i], places.values[i]);
    }
    place(m_parts.list, places.list);
    place(m_parts.more, places.more);
    for (std::size_t i = 0; i < kFleetButtons; ++i)
        place(m_parts.buttons[i], places.buttons[i]);
    // The row number and the columns as wide as they need, the reason the rest.
    const int row = pixels(1050, dpi);
    const int columns = pixels(2100, dpi);
    ListView_SetColumnWidth(m_parts.list, 0, row);
    ListView_SetColumnWidth(m_parts.list, 1, columns);
    ListView_SetColumnWidth(m_parts.list,
        2,
        std::max(pixels(1500, dpi),
            places.list.width - row - columns - GetSystemMetricsForDpi(SM_CXVSCROLL, dpi) - 4));
    InvalidateRect(m_parts.window.load(), nullptr, TRUE);
}

void FleetWindow::command(int id)
{
    switch (static_cast<form::FleetButton>(id - kFirstButtonId)) {
    case form::FleetButton::Choose:
        m_form.Choose_Click();
        break;
    case form::FleetButton::Stop:
        m_form.Stop_Click();
        break;
    case form::FleetButton::OpenResult:
        m_form.OpenResult_Click();
        break;
    case form::FleetButton::ShowInFolder:
        m_form.ShowInFolder_Click();
        break;
    }
}

// The list view asks for each text it shows.
LRESULT FleetWindow::notified(const NMHDR &header, LPARAM lParam)
{
    if (header.hwndFrom != m_parts.list || header.code != LVN_GETDISPINFOW)
        return 0;
    LVITEMW &item = reinterpret_cast<NMLVDISPINFOW *>(lParam)->item;
    if (!(item.mask & LVIF_TEXT) || item.iItem < 0
        || static_cast<std::size_t>(item.iItem) >= m_parts.rows.size())
        return 0;
    const batch::RejectedRow &row = m_parts.rows[static_cast<std::size_t>(item.iItem)];
    m_parts.cell = item.iSubItem == 0 ? std::to_wstring(row.row)
        : item.iSubItem == 1          ? wide(row.columns)
                                      : wide(row.reason);
    item.pszText = m_parts.cell.data();
    return 0;
}

// A list dropped on the window: the first file, computed at once.
void FleetWindow::dropped(HDROP drop)
{
    const std::wstring file = firstDroppedFile(drop);
    if (!file.empty())
        m_form.compute(file);
}

// The window closes at once; a run is told to stop first, then waited for out of sight (hiding may
// take a while: Wine waits for a window manager that may not be there).
void FleetWindow::closing()
{
    m_form.Stop_Click();
    ShowWindow(m_parts.window.load(), SW_HIDE);
    m_form.close();
    DestroyWindow(m_parts.window.load());
}

void FleetWindow::runTask(LPARAM task)
{
    const std::unique_ptr<std::function<void()>> run(reinterpret_cast<std::function<void()> *>(task));
    (*run)();
}

// The window is gone: the form is closed (so that the runs' last tasks change nothing), their threads
// are joined, and the tasks still on their way are let go.
void FleetWindow::destroyed()
{
    HWND window = m_parts.window.exchange(nullptr);
    m_form.close();
    if (m_parts.run.joinable())
        m_parts.run.join();
    MSG left;
    while (PeekMessageW(&left, window, kRunTaskMessage, kRunTaskMessage, PM_REMOVE))
        runTask(left.lParam);
    if (m_shown && m_closed) // a window never shown was never counted
        m_closed();
}

} // namespace win32
