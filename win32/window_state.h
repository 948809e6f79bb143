// What the rooms of the Windows window share: the controls, the fonts and paints they draw with, the
// resolution they are placed at, and whether the form is changing a control at the moment. The main
// window owns it and outlives every control that draws with it.
#pragma once

#include "win32/control_table.h"
#include "win32/look.h"
#include "win32/placement.h"

#include <memory>
#include <windows.h>

namespace win32 {

// While the form changes a control, the notifications of that change are not the user's: the form runs
// the handlers of its own changes itself. Set for as long as a Scope lives, also when it is left early.
class FormChanges {
public:
    class Scope {
    public:
        explicit Scope(FormChanges &changes)
            : m_changes(changes)
            , m_was(changes.m_active)
        {
            m_changes.m_active = true;
        }
        ~Scope()
        {
            m_changes.m_active = m_was;
        }
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        FormChanges &m_changes;
        bool m_was;
    };

    bool active() const
    {
        return m_active;
    }

private:
    bool m_active = false;
};

struct WindowState {
    HWND window = nullptr;
    ControlTable controls;
    std::unique_ptr<FontSet> fonts; // replaced with the resolution, once every control has the new one
    Paints paints;
    Cursor hand; // the links' pointing hand at the resolution
    UINT dpi = 96;
    PixelPoint pageOrigin;
    FormChanges changes;

    Paint paintOf(const Control &control)
    {
        return paints.of(control.looks, isField(control.row->kind));
    }
};

} // namespace win32
