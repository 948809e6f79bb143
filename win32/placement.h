// Where the Windows window puts its controls at a screen's dots per inch: the inventory's twips
// converted as Windows' MulDiv rounds, plain C++ so that it is tested without Windows.
#pragma once

#include "form/inventory.h"

namespace win32 {

// Twips to pixels at dpi, rounded to the nearest pixel with halves away from zero (MulDiv's rounding):
// 15 twips a pixel at 96.
int pixels(int twips, unsigned dpi);

struct PixelPoint {
    int x = 0;
    int y = 0;
};

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelRect &) const = default;
};

// A control's rectangle in its container at dpi, heightTwips high (a list the town search grew is
// higher than its row says); origin is where the container lies in the coordinates the row is given
// in (a page of the tab control lies below the tab row).
PixelRect controlRect(const form::ControlRow &row, int heightTwips, unsigned dpi, PixelPoint origin);

// A drop-down window is its field and the list it drops together: at most kDropDownRows entries of
// rowPixels each, and at least one row when it has none, plus the list's border.
inline constexpr int kDropDownRows = 15;
int dropDownHeight(int fieldPixels, int entries, int rowPixels);

// The tab row: its height, and the width of each of the equal tabs in one row of a tab control
// width pixels wide (a few pixels to spare, or the tab control scrolls its row).
inline constexpr int kTabRowTwips = 23 * form::kTwipsPerPixel;
int tabWidth(int width, int tabs);

// Text boxes, list boxes and combo boxes stand on the window colour, the rest on the button face.
bool isField(form::Kind kind);
// A push button, with a caption or a picture: Return presses it when it has focus.
bool isButton(form::Kind kind);

} // namespace win32
