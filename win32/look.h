// How the window looks: the fonts of the inventory's looks at a screen's dots per inch, and the colours
// behind the system colour names the looks use, as this desktop maps them.
//
// Every text is set in the face of the desktop's message font, at the sizes the window was drawn for
// (8.25 pt, the heading 9.75 pt bold, ...), so that captions keep their proportion to the rectangles at
// any scale. The window owns both sets and keeps them until its last control is gone: a control draws
// with the font it was given and the brush it was handed until it is told otherwise.
#pragma once

#include "win32/handles.h"

#include <map>
#include <windows.h>

namespace win32 {

// The fonts of one screen resolution, made when first asked for and deleted with the set.
class FontSet {
public:
    explicit FontSet(UINT dpi);
    FontSet(const FontSet &) = delete;
    FontSet &operator=(const FontSet &) = delete;

    HFONT font(unsigned looks);

private:
    UINT m_dpi;
    LOGFONTW m_message{};
    std::map<unsigned, GdiObject<HFONT>> m_fonts;
};

// What a control's looks paint: the text colour, and the background with the brush that fills it.
struct Paint {
    COLORREF text;
    COLORREF background;
    HBRUSH brush;
};

// The paints of the looks in the desktop's current colours. The brushes are made once for each colour
// and live as long as the set.
class Paints {
public:
    Paints() = default;
    Paints(const Paints &) = delete;
    Paints &operator=(const Paints &) = delete;

    // field: a text box, list box or combo box, whose ground is the window colour rather than the button
    // face.
    Paint of(unsigned looks, bool field);

private:
    HBRUSH brush(COLORREF colour);

    std::map<COLORREF, GdiObject<HBRUSH>> m_brushes;
};

} // namespace win32
