#include "win32/painters.h"

#include "win32/text.h"
#include "win32/text_lines.h"

namespace win32 {

namespace {

// Selects an object into a device context for as long as it lives, then puts the earlier one back.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object)
        : m_dc(dc)
        , m_earlier(SelectObject(dc, object))
    {
    }
    ~Selected()
    {
        SelectObject(m_dc, m_earlier);
    }
    Selected(const Selected &) = delete;
    Selected &operator=(const Selected &) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_earlier;
};

// Dotted in the link's own colour: the inverting focus mark of Windows vanishes on grey.
void drawFocusMark(HDC dc, const std::wstring &text, const RECT &area, COLORREF colour)
{
    RECT mark = area;
    DrawTextW(dc, text.c_str(), -1, &mark, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    InflateRect(&mark, 2, 1);
    IntersectRect(&mark, &mark, &area);
    LOGBRUSH dots{BS_SOLID, colour, 0};
    const GdiObject<HPEN> pen(ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &dots, 0, nullptr));
    if (!pen)
        return;
    const Selected penSelected(dc, pen.get());
    const Selected brushSelected(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, mark.left, mark.top, mark.right, mark.bottom);
}

} // namespace

void paintLink(HWND link, HFONT font, const Paint &paint)
{
    PAINTSTRUCT painting;
    HDC dc = BeginPaint(link, &painting);
    RECT area{};
    GetClientRect(link, &area);
    FillRect(dc, &area, paint.brush);
    {
        const Selected fontSelected(dc, font);
        SetTextColor(dc, paint.text);
        SetBkMode(dc, TRANSPARENT);
        const std::wstring text = windowText(link);
        DrawTextW(dc, text.c_str(), -1, &area, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
        if (GetFocus() == link)
            drawFocusMark(dc, text, area, paint.text);
    }
    EndPaint(link, &painting);
}

void paintTightLabel(const DRAWITEMSTRUCT &item, HFONT font, const Paint &paint)
{
    FillRect(item.hDC, &item.rcItem, paint.brush);
    const Selected fontSelected(item.hDC, font);
    SetTextColor(item.hDC, paint.text);
    SetBkMode(item.hDC, TRANSPARENT);
    TEXTMETRICW metrics{};
    GetTextMetricsW(item.hDC, &metrics);
    const int step = metrics.tmHeight * 86 / 100;
    const auto measure = [&item](std::wstring_view text) {
        SIZE size{};
        GetTextExtentPoint32W(item.hDC, text.data(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    int top = item.rcItem.top;
    for (const std::wstring &line :
        wrappedLines(windowText(item.hwndItem), item.rcItem.right - item.rcItem.left, measure)) {
        TextOutW(item.hDC, item.rcItem.left, top, line.c_str(), static_cast<int>(line.size()));
        top += step;
    }
}

} // namespace win32
