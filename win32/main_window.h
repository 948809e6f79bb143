// The Windows front of Form1: the window "ТарифМастер" of user32 and comctl32 controls built from the
// inventory, its controls behind the form's Controls interface, and each control's notification wired
// to the form's handler through the form's table.
//
// A click on a row of List10 reaches the main window as WM_COMMAND(LBN_SELCHANGE), forwarded by the page
// the list lies on; the one router below finds List10 by the command's id and raises its Click, which
// runs List10_Click; the handler reads the chosen row through chosenEntry() and writes the factor into
// Text5 through setText(), which sets the edit's text without raising anything of its own. What is
// Windows' stays here: how a notification becomes a Click or a Change, the dialog keys, the looks at the
// screen's dots per inch, where the reports and help pages lie.
#pragma once

#include "form/controls.h"
#include "form/form1.h"
#include "form/inventory.h"
#include "win32/look.h"
#include "win32/test_seams.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>
#include <windows.h>

struct IAccPropServices;

namespace win32 {

class MainWindow final : private form::Controls {
public:
    MainWindow(HINSTANCE instance, TestSeams seams);
    ~MainWindow() override;
    MainWindow(const MainWindow &) = delete;
    MainWindow &operator=(const MainWindow &) = delete;

    // Builds the window and its controls, runs Form_Load and shows the window; false when Windows
    // refused the window.
    bool create(int show);
    // The message loop, until the window is gone: Ctrl+Tab and Ctrl+PgDn page through the tabs, then
    // the dialog keys (Tab, arrows in a group, Return on a button), then everything else.
    int run();

private:
    struct Control {
        const form::ControlRow *row = nullptr;
        HWND hwnd = nullptr;
        int id = 0;
        int heightTwips = 0;
        unsigned looks = 0;
        bool wasSelected = false;  // an option button: selected when last seen
        HBITMAP picture = nullptr; // Image1, Image2, Command5, Command6
    };
    // The drop-down whose list is open, and whether the keys browsed to an entry in it.
    struct OpenList {
        int id = 0;
        bool browsed = false;
    };

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK containerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK controlProc(
        HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleControlMessage(Control &control, UINT message, WPARAM wParam, LPARAM lParam);

    // Building and placing.
    void build();
    HWND containerOf(std::string_view container);
    void createControl(const form::ControlRow &row);
    void nameForScreenReaders();
    void addTooltips();
    void layout(UINT dpi);
    void placeControl(Control &control);
    void makePicture(Control &control);
    void fitFrameTo(UINT dpi);
    POINT originOf(const Control &control) const;

    // Events.
    void command(int id, int code);
    void raise(const Control &control, form::Event event);
    void optionClicked(Control &option);
    void refreshOptions(HWND container);
    void comboNotification(Control &combo, int code);
    void showPage(int page);
    void stepPage(int step);
    HWND firstControlOf(int page) const;
    LRESULT colours(HDC dc, HWND control);
    void drawTightLabel(const DRAWITEMSTRUCT &item);
    void writeRecord() const;

    Control &controlOf(std::string_view name);
    const Control &controlOf(std::string_view name) const;
    Control *controlOf(HWND hwnd);
    Control *controlById(int id);

    // form::Controls
    std::string text(std::string_view control) const override;
    void setText(std::string_view control, std::string_view text) override;
    std::optional<std::string> chosenEntry(std::string_view list) const override;
    void setEntries(std::string_view list, std::span<const std::string_view> entries) override;
    void setHeight(std::string_view control, int twips) override;
    void setLooks(std::string_view control, unsigned looks) override;
    bool checked(std::string_view control) const override;
    void select(std::string_view option) override;
    void setVisible(std::string_view control, bool visible) override;
    void inform(std::string_view text) override;
    void warn(std::string_view text) override;
    void open(const form::ShellTarget &target) override;
    report::WriteResult saveReport(form::ReportKind kind, const report::ReportInput &input) override;
    form::StartTime startTime() const override;
    void endProgram() override;

    HINSTANCE m_instance;
    TestSeams m_seams;
    std::filesystem::path m_programFolder;
    HWND m_hwnd = nullptr;
    HWND m_tabs = nullptr;
    HWND m_tooltips = nullptr;
    HWND m_pages[10] = {};
    int m_page = 0;
    POINT m_pageOrigin{}; // where the pages lie in the tab control's coordinates, in pixels
    UINT m_dpi = 96;
    std::unique_ptr<FontSet> m_fonts;
    HCURSOR m_hand = nullptr;
    IAccPropServices *m_accessibility = nullptr;
    std::vector<Control> m_controls; // in the inventory's order
    std::unordered_map<std::string_view, std::size_t> m_byName;
    std::vector<HWND> m_created; // the containers and controls as they were created: Tab's order
    HWND m_savedFocus = nullptr;
    OpenList m_openList;
    form::Form1 m_form;
    // True while the form changes a control: the notifications of that change are not the user's, and
    // the form runs the handlers of its own changes itself.
    bool m_changingForForm = false;
    std::vector<std::string> m_recorded; // what the test record gets besides the fields
};

} // namespace win32
