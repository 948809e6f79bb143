#include "support/report_checks.h"

namespace support {

ReportLines splitReportLines(std::string_view bytes)
{
    ReportLines lines;
    std::size_t at = 0;
    for (std::size_t cr; (cr = bytes.find('\r', at)) != std::string_view::npos;) {
        const std::string_view text = bytes.substr(at, cr - at);
        const bool plain = bytes.compare(cr, 3, "\r\r\n") == 0;
        if (text.find('\n') != std::string_view::npos || !(plain || bytes.compare(cr, 4, "\r\n\r\n") == 0))
            break;
        lines.texts.emplace_back(text);
        lines.spaced.push_back(!plain);
        at = cr + (plain ? 3 : 4);
    }
    lines.rest = bytes.substr(at);
    return lines;
}

bool bracesBalanced(std::string_view rtf)
{
    int depth = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\')
            ++i; // an escaped character or the first letter of a control word
        else if (rtf[i] == '{')
            ++depth;
        else if (rtf[i] == '}' && --depth < 0)
            return false;
    }
    return depth == 0;
}

} // namespace support
