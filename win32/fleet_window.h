// The Windows fleet window, "ТарифМастер — расчет парка ТС": a vehicle list computed off the window's
// thread with its progress on the window and its taskbar button, then the summary and the rejected rows
// in a report-mode list view. The behaviour is the fleet form's (form/fleet_form.h); this class makes
// the controls, places them at the window's resolution, routes their notifications to the form's
// handlers, takes dropped lists and runs the tasks the runs post back.
#pragma once

#include "form/fleet_form.h"
#include "win32/accessibility.h"
#include "win32/fleet_controls.h"
#include "win32/fleet_parts.h"
#include "win32/test_seams.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <shellapi.h>
#include <windows.h>

namespace win32 {

class FleetWindow final {
public:
    // closed: called once the window is gone.
    FleetWindow(HINSTANCE instance, const TestSeams &seams, std::function<void()> closed);
    ~FleetWindow();
    FleetWindow(const FleetWindow &) = delete;
    FleetWindow &operator=(const FleetWindow &) = delete;

    static bool registerClass(HINSTANCE instance);

    // Makes and shows the window; false when Windows refused it.
    bool create(int show);
    HWND hwnd() const
    {
        return m_parts.window.load();
    }

    // A list given from outside (the command line, a drop on the main window): computed at once.
    void compute(const std::filesystem::path &list);

    // The window procedure's (window_proc.h).
    void created(HWND hwnd);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void destroyed();

private:
    bool build();
    HWND make(const wchar_t *windowClass, DWORD style, int id, std::wstring_view text = {});
    void relayout(UINT dpi);
    FleetMeasures measure(HFONT font) const;
    void command(int id);
    LRESULT notified(const NMHDR &header, LPARAM lParam);
    void dropped(HDROP drop);
    void closing();
    void runTask(LPARAM task);

    HINSTANCE m_instance;
    std::function<void()> m_closed;
    bool m_shown = false;
    FleetParts m_parts;
    ScreenReaderNames m_names;
    WindowFleetControls m_windowControls;
    std::unique_ptr<form::FleetControls> m_record; // the test record, when a test asks for one
    form::FleetForm m_form;
};

} // namespace win32
