#include "win32/look.h"

#include "form/contrast.h"
#include "form/inventory.h"

namespace win32 {

using namespace form::look;

namespace {

constexpr COLORREF kYellowColour = RGB(255, 255, 0);
constexpr COLORREF kCyanColour = RGB(192, 255, 255);
constexpr COLORREF kRedColour = RGB(255, 0, 0);

HBRUSH solidBrush(COLORREF colour)
{
    static std::map<COLORREF, HBRUSH> brushes;
    HBRUSH &brush = brushes[colour];
    if (!brush)
        brush = CreateSolidBrush(colour);
    return brush;
}

// Hundredths of a point of each look's font.
int sizeOf(unsigned looks)
{
    if (looks & kBadge)
        return 1425;
    if (looks & kCopyright)
        return 1350;
    if (looks & (kHeading | kLink))
        return 975;
    return 825;
}

form::Rgb rgbOf(COLORREF colour)
{
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

COLORREF colourOf(form::Rgb rgb)
{
    return RGB(rgb.red, rgb.green, rgb.blue);
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

FontSet::~FontSet()
{
    for (const auto &[looks, font] : m_fonts)
        DeleteObject(font);
}

HFONT FontSet::font(unsigned looks)
{
    constexpr unsigned fontLooks = kHeading | kBold | kItalic | kLink | kBadge | kCopyright;
    looks &= fontLooks;
    if (const auto found = m_fonts.find(looks); found != m_fonts.end())
        return found->second;
    LOGFONTW font = m_message;
    font.lfHeight = -MulDiv(sizeOf(looks), static_cast<int>(m_dpi), 7200);
    font.lfWidth = 0;
    font.lfWeight = (looks & (kHeading | kBold | kLink)) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (looks & kItalic) ? TRUE : FALSE;
    font.lfUnderline = FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    if (looks & kBadge)
        lstrcpynW(font.lfFaceName, L"Segoe UI Symbol", LF_FACESIZE);
    HFONT made = CreateFontIndirectW(&font);
    m_fonts.emplace(looks, made);
    return made;
}

Paint paintOf(unsigned looks, bool field)
{
    int text = COLOR_WINDOWTEXT;
    int ground = field ? COLOR_WINDOW : COLOR_BTNFACE;
    if (looks & kGreyStrip) {
        ground = COLOR_BTNSHADOW;
        text = COLOR_HIGHLIGHTTEXT;
    }
    if (looks & kDarkStrip) {
        ground = COLOR_APPWORKSPACE;
        text = COLOR_HIGHLIGHTTEXT;
    }
    if (looks & (kDarkBackground | kLink))
        ground = COLOR_APPWORKSPACE;
    if (looks & kLink)
        text = COLOR_HIGHLIGHT;
    if (looks & kGreyBackground)
        ground = COLOR_INACTIVEBORDER;

    Paint paint{GetSysColor(text), GetSysColor(ground), GetSysColorBrush(ground)};
    // The greys behind light text keep the desktop's colours where the text reads on them; the default
    // theme's are too light for white, and are darkened until it reads (the bottom strip with them, so
    // that the links stand on the same grey). The link's colour then moves until it reads as well.
    if (ground == COLOR_BTNSHADOW || ground == COLOR_APPWORKSPACE) {
        const COLORREF readable = colourOf(
            form::readableGround(rgbOf(GetSysColor(COLOR_HIGHLIGHTTEXT)), rgbOf(paint.background)));
        if (readable != paint.background)
            paint = {paint.text, readable, solidBrush(readable)};
    }
    if (looks & kLink)
        paint.text = colourOf(form::readableText(rgbOf(paint.text), rgbOf(paint.background)));
    if (looks & kYellow)
        paint = {paint.text, kYellowColour, solidBrush(kYellowColour)};
    if (looks & kCyan)
        paint = {paint.text, kCyanColour, solidBrush(kCyanColour)};
    if (looks & kRedText)
        paint.text = kRedColour;
    return paint;
}

} // namespace win32
