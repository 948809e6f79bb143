// Notification routing of the Windows window: what the controls tell the window becomes the form's
// Click or Change of the control, through the form's table of handlers. A click on a row of List10
// reaches the main window as WM_COMMAND(LBN_SELCHANGE), forwarded by the page the list lies on; the
// router finds List10 by the command's id and raises its Click, which runs List10_Click. What the form
// changes itself raises nothing here (FormChanges).
//
// Text boxes and links are subclassed: a click into a text box is a Click, and a link takes Return and
// Space, shows the pointing hand and paints itself.
#pragma once

#include "form/form1.h"
#include "win32/combo_choice.h"
#include "win32/window_state.h"

#include <string>
#include <windows.h>

namespace win32 {

class Router {
public:
    Router(WindowState &state, form::Form1 &form);
    Router(const Router &) = delete;
    Router &operator=(const Router &) = delete;

    // WM_COMMAND of a control of ours; anything else (IDOK and IDCANCEL of the dialog keys, the pages)
    // is passed over.
    void command(int id, int code);
    // Subclasses the text boxes and links for the messages above.
    void subclassControls();

private:
    static LRESULT CALLBACK subclassProc(
        HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);
    LRESULT textBoxMessage(Control &box, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT linkMessage(Control &link, UINT message, WPARAM wParam, LPARAM lParam);

    void raise(const Control &control, form::Event event);
    void optionClicked(Control &option);
    void comboNotification(Control &combo, int code);

    WindowState &m_state;
    form::Form1 &m_form;
    ComboChoice m_combos;
    // What the drop-down whose list is open showed when it opened: its entry and its text.
    LRESULT m_shownEntry = CB_ERR;
    std::wstring m_shownText;
};

} // namespace win32
