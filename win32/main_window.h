// The Windows front of Form1: the window "ТарифМастер", built from the inventory (builder.h), placed at
// its screen's resolution (layout.h), its notifications routed to the form's handlers (router.h), its
// controls behind the form's controls interface (window_controls.h). This class owns all of it and
// answers the window's own messages: creation, pages, colours, resolution and colour changes, and a
// vehicle list dropped on it, which goes to the fleet window.
//
// It owns the fonts, brushes, pictures and cursor its controls draw with, and destroys the window, and
// with it every control, before any of them.
#pragma once

#include "form/form1.h"
#include "win32/accessibility.h"
#include "win32/builder.h"
#include "win32/recording_controls.h"
#include "win32/router.h"
#include "win32/test_seams.h"
#include "win32/window_controls.h"
#include "win32/window_state.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <shellapi.h>
#include <string>
#include <windows.h>

namespace win32 {

// What the main window tells the application: a list dropped on it, and that it is gone.
struct MainWindowEvents {
    std::function<void(const std::filesystem::path &)> listDropped;
    std::function<void()> closed;
};

class MainWindow final {
public:
    MainWindow(HINSTANCE instance, TestSeams seams, MainWindowEvents events);
    ~MainWindow();
    MainWindow(const MainWindow &) = delete;
    MainWindow &operator=(const MainWindow &) = delete;

    // Registers the window's classes; false when Windows refused them.
    static bool registerClasses(HINSTANCE instance);

    // Builds the window and its controls, runs Form_Load and shows the window. Empty when all stands;
    // otherwise what Windows refused (the window, or the name of a control), and no window is left.
    std::string create(int show);
    HWND hwnd() const
    {
        return m_state.window;
    }

    // Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn and Ctrl+PgUp page through the tabs from anywhere in the
    // window, unless the control with focus takes the key itself: true when msg was such a key.
    bool pageKey(const MSG &msg);

    // The window procedure's (window_proc.h).
    void created(HWND hwnd);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void destroyed();

private:
    bool built();
    void relayout(UINT dpi);
    void dpiChanged(UINT dpi, const RECT &suggested);
    void systemColoursChanged(WPARAM wParam, LPARAM lParam);
    void notified(const NMHDR &header, LPARAM lParam);
    LRESULT colours(HDC dc, HWND hwnd);
    void drawItem(const DRAWITEMSTRUCT &item);
    LRESULT defaultButton();
    void closing();

    void showPage(int page);
    void stepPage(int step);
    HWND firstControlOf(int page) const;

    form::Controls &formControls();

    void dropped(HDROP drop);

    HINSTANCE m_instance;
    TestSeams m_seams;
    MainWindowEvents m_events;
    WindowState m_state;
    WindowParts m_parts;
    ScreenReaderNames m_names;
    WindowControls m_windowControls;
    std::unique_ptr<RecordingControls> m_record; // the test record, when a test asks for it
    form::Form1 m_form;
    Router m_router;
    int m_page = 0;
    HWND m_savedFocus = nullptr;
    std::string m_refused; // what Windows refused while the window was being built
};

} // namespace win32
