#include "win32/look.h"

#include "form/contrast.h"
#include "form/looks.h"

namespace win32 {

namespace {

form::Rgb rgbOf(COLORREF colour)
{
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

COLORREF colourOf(form::Rgb rgb)
{
    return RGB(rgb.red, rgb.green, rgb.blue);
}

// The system colour a look names (or one of its fixed colours); byDefault, a system colour's index, for
// the control's own.
COLORREF colourOf(form::LookColour colour, int byDefault)
{
    if (const std::optional<form::Rgb> fixed = form::fixedColour(colour))
        return colourOf(*fixed);
    switch (colour) {
    case form::LookColour::ButtonShadow:
        return GetSysColor(COLOR_BTNSHADOW);
    case form::LookColour::ApplicationWorkspace:
        return GetSysColor(COLOR_APPWORKSPACE);
    case form::LookColour::HighlightText:
        return GetSysColor(COLOR_HIGHLIGHTTEXT);
    case form::LookColour::Highlight:
        return GetSysColor(COLOR_HIGHLIGHT);
    case form::LookColour::InactiveBorder:
        return GetSysColor(COLOR_INACTIVEBORDER);
    default:
        break;
    }
    return GetSysColor(byDefault);
}

} // namespace

FontSet::FontSet(UINT dpi)
    : m_dpi(dpi)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
        m_message = metrics.lfMessageFont;
    else
        lstrcpynW(m_message.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
}

HFONT FontSet::font(unsigned looks)
{
    looks &= form::kFontLooks;
    if (const auto found = m_fonts.find(looks); found != m_fonts.end())
        return found->second.get();
    const form::TextLook look = form::textLook(looks);
    LOGFONTW font = m_message;
    font.lfHeight = -MulDiv(look.hundredthsOfPoint, static_cast<int>(m_dpi), 7200);
    font.lfWidth = 0;
    font.lfWeight = look.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = look.italic ? TRUE : FALSE;
    font.lfUnderline = FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    if (look.symbols)
        lstrcpynW(font.lfFaceName, L"Segoe UI Symbol", LF_FACESIZE);
    HFONT made = CreateFontIndirectW(&font);
    if (!made) // the desktop's own font rather than none
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    return m_fonts.emplace(looks, GdiObject<HFONT>(made)).first->second.get();
}

HBRUSH Paints::brush(COLORREF colour)
{
    GdiObject<HBRUSH> &brush = m_brushes[colour];
    if (!brush)
        brush.reset(CreateSolidBrush(colour));
    return brush ? brush.get() : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}

Paint Paints::of(unsigned looks, bool field)
{
    const form::LookColours colours = form::lookColours(looks);
    Paint paint{colourOf(colours.text, COLOR_WINDOWTEXT),
        colourOf(colours.ground, field ? COLOR_WINDOW : COLOR_BTNFACE),
        nullptr};
    // The greys behind light text keep the desktop's colours where the text reads on them; the default
    // theme's are too light for white, and are darkened until it reads (the bottom strip with them, so
    // that the links stand on the same grey). The link's colour then moves until it reads as well.
    if (colours.ground == form::LookColour::ButtonShadow
        || colours.ground == form::LookColour::ApplicationWorkspace)
        paint.background = colourOf(
            form::readableGround(rgbOf(GetSysColor(COLOR_HIGHLIGHTTEXT)), rgbOf(paint.background)));
    if (colours.text == form::LookColour::Highlight)
        paint.text = colourOf(form::readableText(rgbOf(paint.text), rgbOf(paint.background)));
    paint.brush = brush(paint.background);
    return paint;
}

} // namespace win32
