// The two kinds of label the Windows window paints itself: a link, which draws its focus mark around its
// text in its own colour, and a tight label, whose lines stand closer than the font's own spacing.
#pragma once

#include "win32/look.h"

#include <windows.h>

namespace win32 {

// Paints a link in response to WM_PAINT.
void paintLink(HWND link, HFONT font, const Paint &paint);

// Draws a tight label for WM_DRAWITEM: five lines share the height of four.
void paintTightLabel(const DRAWITEMSTRUCT &item, HFONT font, const Paint &paint);

} // namespace win32
