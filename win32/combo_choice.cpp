#include "win32/combo_choice.h"

namespace win32 {

ComboOutcome ComboChoice::after(int combo, ComboNote note)
{
    switch (note) {
    case ComboNote::DropDown:
        m_open = combo;
        m_browsed = false;
        return ComboOutcome::Nothing;
    case ComboNote::CloseUp:
        if (m_open == combo)
            m_open = 0;
        return ComboOutcome::Nothing;
    case ComboNote::SelectionEndCancel: {
        const bool browsed = m_browsed;
        m_browsed = false;
        return browsed ? ComboOutcome::Dropped : ComboOutcome::Nothing;
    }
    case ComboNote::SelectionChange:
        if (m_open == combo) {
            m_browsed = true;
            return ComboOutcome::Nothing;
        }
        return ComboOutcome::Chosen;
    case ComboNote::SelectionEndOk: {
        const bool browsed = m_browsed;
        m_browsed = false;
        return browsed ? ComboOutcome::Chosen : ComboOutcome::Nothing;
    }
    case ComboNote::Other:
        break;
    }
    return ComboOutcome::Nothing;
}

} // namespace win32
