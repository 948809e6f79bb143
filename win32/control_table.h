// The Windows window's controls, one for each row of the inventory and in its order, found by name (as
// the form names them), by window handle or by control id (as notifications name them).
#pragma once

#include "form/inventory.h"
#include "win32/handles.h"

#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>
#include <windows.h>

namespace win32 {

struct Control {
    const form::ControlRow *row = nullptr;
    HWND hwnd = nullptr;
    int id = 0;
    int heightTwips = 0;
    unsigned looks = 0;
    bool wasSelected = false;   // an option button: selected when last seen
    GdiObject<HBITMAP> picture; // Image1, Image2, Command5, Command6: what the control shows
};

class ControlTable {
public:
    // Ids clear of IDOK and IDCANCEL, which the dialog keys send, and of the ids a combo box gives its
    // own field and list (1001, 1000).
    static constexpr int kFirstId = 2000;

    ControlTable();
    ControlTable(const ControlTable &) = delete;
    ControlTable &operator=(const ControlTable &) = delete;

    // The control the form names; the inventory has every name the form uses, and a name it lacks ends
    // the program (nothing could work).
    Control &named(std::string_view name);
    const Control &named(std::string_view name) const;
    // The control of a window or an id of ours; nullptr for any other window or id (a combo box's own
    // field and list, a page, the tab control).
    Control *of(HWND hwnd);
    const Control *of(HWND hwnd) const;
    Control *byId(int id);

    std::span<Control> all()
    {
        return m_controls;
    }
    std::span<const Control> all() const
    {
        return m_controls;
    }

private:
    std::vector<Control> m_controls; // never resized: frames keep pointers to their controls
    std::unordered_map<std::string_view, std::size_t> m_byName;
};

} // namespace win32
