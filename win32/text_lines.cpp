#include "win32/text_lines.h"

#include <algorithm>

namespace win32 {

std::wstring withCarriageReturns(std::wstring_view text)
{
    std::wstring converted;
    converted.reserve(text.size());
    for (const wchar_t c : text) {
        if (c == L'\n')
            converted += L'\r';
        converted += c;
    }
    return converted;
}

std::string withoutCarriageReturns(std::string text)
{
    std::erase(text, '\r');
    return text;
}

namespace {

void wrapParagraph(
    std::wstring_view paragraph, int width, const Measure &measure, std::vector<std::wstring> &lines)
{
    std::wstring line;
    std::size_t at = 0;
    while (at <= paragraph.size()) {
        std::size_t space = paragraph.find(L' ', at);
        if (space == std::wstring_view::npos)
            space = paragraph.size();
        const std::wstring_view word = paragraph.substr(at, space - at);
        std::wstring longer = line.empty() ? std::wstring(word) : line + L' ' + std::wstring(word);
        if (measure(longer) > width && !line.empty()) {
            lines.push_back(line);
            line = word;
        } else {
            line = std::move(longer);
        }
        at = space + 1;
    }
    lines.push_back(line);
}

} // namespace

std::vector<std::wstring> wrappedLines(std::wstring_view text, int width, const Measure &measure)
{
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring_view::npos)
            end = text.size();
        std::wstring paragraph(text.substr(start, end - start));
        std::erase(paragraph, L'\r');
        wrapParagraph(paragraph, width, measure, lines);
        start = end + 1;
    }
    return lines;
}

} // namespace win32
