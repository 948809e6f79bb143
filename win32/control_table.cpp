#include "win32/control_table.h"

#include "win32/text.h"

#include <string>

namespace win32 {

ControlTable::ControlTable()
    : m_controls(form::controlRows().size())
{
    const std::span<const form::ControlRow> rows = form::controlRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        Control &control = m_controls[i];
        control.row = &rows[i];
        control.id = kFirstId + static_cast<int>(i);
        control.heightTwips = rows[i].height;
        control.looks = rows[i].looks;
        m_byName.emplace(rows[i].name, i);
    }
}

Control &ControlTable::named(std::string_view name)
{
    const auto found = m_byName.find(name);
    if (found == m_byName.end())
        FatalAppExitW(0, wide("Form1: no control " + std::string(name)).c_str());
    return m_controls[found->second];
}

const Control &ControlTable::named(std::string_view name) const
{
    return const_cast<ControlTable *>(this)->named(name);
}

Control *ControlTable::byId(int id)
{
    const int index = id - kFirstId;
    if (index < 0 || index >= static_cast<int>(m_controls.size()))
        return nullptr;
    return &m_controls[static_cast<std::size_t>(index)];
}

Control *ControlTable::of(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    Control *control = byId(GetDlgCtrlID(hwnd));
    return control && control->hwnd == hwnd ? control : nullptr;
}

const Control *ControlTable::of(HWND hwnd) const
{
    return const_cast<ControlTable *>(this)->of(hwnd);
}

} // namespace win32
