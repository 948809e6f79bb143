// Reading the reports back: the text report's lines by their two terminators, and the document's
// groups.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace support {

// The lines of a text report: "S" lines end in CR CR LF, "P" (spaced) lines in CR LF CR LF. What
// follows the last whole line, or a line holding a line feed, is left in rest: no part of a report.
struct ReportLines {
    std::vector<std::string> texts;
    std::vector<bool> spaced;
    std::string rest;
};
ReportLines splitReportLines(std::string_view bytes);

// RTF groups open and close in order, escapes taken into account.
bool bracesBalanced(std::string_view rtf);

} // namespace support
