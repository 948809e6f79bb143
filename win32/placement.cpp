#include "win32/placement.h"

#include <algorithm>
#include <cstdint>

namespace win32 {

int pixels(int twips, unsigned dpi)
{
    const std::int64_t scaled = std::int64_t{twips} * dpi;
    const std::int64_t half = 720;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / 1440 : -((-scaled + half) / 1440));
}

PixelRect controlRect(const form::ControlRow &row, int heightTwips, unsigned dpi, PixelPoint origin)
{
    return {pixels(row.left, dpi) - origin.x,
        pixels(row.top, dpi) - origin.y,
        pixels(row.width, dpi),
        pixels(heightTwips, dpi)};
}

int dropDownHeight(int fieldPixels, int entries, int rowPixels)
{
    return fieldPixels + std::clamp(entries, 1, kDropDownRows) * rowPixels + 2;
}

int tabWidth(int width, int tabs)
{
    return tabs > 0 ? (width - 4) / tabs : width;
}

bool isField(form::Kind kind)
{
    return kind == form::Kind::TextBox || kind == form::Kind::ListBox || kind == form::Kind::ComboBox;
}

bool isButton(form::Kind kind)
{
    return kind == form::Kind::Command || kind == form::Kind::Picture;
}

} // namespace win32
