// How the window looks: the fonts of the inventory's looks at a screen's dots per inch, and the colours
// behind the system colour names the looks use, as this desktop maps them.
//
// Every text is set in the face of the desktop's message font, at the sizes the window was drawn for
// (8.25 pt, the heading 9.75 pt bold, ...), so that captions keep their proportion to the rectangles at
// any scale.
#pragma once

#include <map>
#include <windows.h>

namespace win32 {

// Twips to pixels at a screen's dots per inch: 15 twips per pixel at 96.
inline int px(int twips, UINT dpi)
{
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

// The fonts of one screen resolution, made when first asked for and deleted with the set.
class FontSet {
public:
    explicit FontSet(UINT dpi);
    ~FontSet();
    FontSet(const FontSet &) = delete;
    FontSet &operator=(const FontSet &) = delete;

    HFONT font(unsigned looks);

private:
    UINT m_dpi;
    LOGFONTW m_message{};
    std::map<unsigned, HFONT> m_fonts;
};

// What a control's looks paint: the text colour, and the background with the brush that fills it. The
// brushes are the system's or live as long as the program; nobody frees them.
struct Paint {
    COLORREF text;
    COLORREF background;
    HBRUSH brush;
};

// field: a text box, list box or combo box, whose ground is the window colour rather than the button face.
Paint paintOf(unsigned looks, bool field);

} // namespace win32
