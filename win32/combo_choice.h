// When a drop-down's notifications make a choice, the one rule the Windows window follows for every
// combo box; plain C++, so that it is tested without Windows.
//
// A drop-down clicks once an entry is chosen from its list: by the mouse or Return in the opened list,
// or by the arrows while it is closed. Typing raises nothing, also when Return confirms typed text.
// While the list is open the arrows only browse it (the field shows the entry browsed to), and Escape,
// or a click elsewhere, drops what they browsed: the drop-down shows again what it showed when its
// list opened, as the factor field still says. Windows (and
// Wine) tell a choice by the mouse as SELENDOK, CLOSEUP and then SELCHANGE, a choice by the keys in the
// open list as SELCHANGEs and then SELENDOK, a choice by the arrows on the closed drop-down as one
// SELCHANGE: each is one Click.
#pragma once

namespace win32 {

// The combo box notifications that matter (CBN_DROPDOWN, CBN_CLOSEUP, ...).
enum class ComboNote { DropDown, CloseUp, SelectionChange, SelectionEndOk, SelectionEndCancel, Other };

// What a notification means: nothing yet, the user's choice of the entry now selected, or the end of a
// browse that chose nothing, after which the drop-down shows what it showed when its list opened.
enum class ComboOutcome { Nothing, Chosen, Dropped };

class ComboChoice {
public:
    // What this notification of the combo box numbered combo means.
    ComboOutcome after(int combo, ComboNote note);

private:
    int m_open = 0;         // the drop-down whose list is open; 0 for none
    bool m_browsed = false; // whether the keys browsed to an entry in it
};

} // namespace win32
