// The window's pictures, kept in the program's resources (app.rc) as the files of window/pictures, and
// decoded with the Windows Imaging Component: each at its own size on a screen of 96 dots per inch, and
// from its double-size drawing, scaled down, on sharper screens. Also the picture of the document
// report, read from tmas.gif beside the program.
#pragma once

#include "report/picture.h"
#include "win32/control_table.h"
#include "win32/handles.h"

#include <filesystem>
#include <string_view>
#include <windows.h>

namespace win32 {

// The picture of window/pictures named name ("example", "text-report") at dpi (its own size at 96),
// drawn on ground where it is transparent; nullptr when it cannot be made. The caller owns it.
HBITMAP pictureBitmap(std::string_view name, UINT dpi, COLORREF ground);

// The links' pointing hand, 32 × 32 at 96 dots per inch with the finger tip as its hot spot, at dpi; the
// system's shared hand where it cannot be made.
Cursor handCursor(UINT dpi);

// Shows a control's picture (Image1, Image2, Command5, Command6) at dpi on the button face, and keeps
// it in the control for as long as the control may show it; nothing for the other controls.
void showPicture(Control &control, UINT dpi);

// The document report's picture: tmas.gif as PNG. The GIF the program ships becomes the very PNG the
// other editions make of it (carried in the resources); any other GIF is converted here, at 96 dots
// per inch.
report::PngPicture readReportPicture(const std::filesystem::path &file);

} // namespace win32
