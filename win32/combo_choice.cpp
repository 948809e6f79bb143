#include "win32/combo_choice.h"

namespace win32 {

bool ComboChoice::chosen(int combo, ComboNote note)
{
    switch (note) {
    case ComboNote::DropDown:
        m_open = combo;
        m_browsed = false;
        return false;
    case ComboNote::CloseUp:
        if (m_open == combo)
            m_open = 0;
        return false;
    case ComboNote::SelectionEndCancel:
        m_browsed = false;
        return false;
    case ComboNote::SelectionChange:
        if (m_open == combo) {
            m_browsed = true;
            return false;
        }
        return true;
    case ComboNote::SelectionEndOk: {
        const bool browsed = m_browsed;
        m_browsed = false;
        return browsed;
    }
    case ComboNote::Other:
        break;
    }
    return false;
}

} // namespace win32
