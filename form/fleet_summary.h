// What the fleet window shows of a run, as the texts of fleet_texts.h filled in from the run's values:
// the status line, the summary and the line below the rejected rows, and the name of a list's result.
// The desktop's fleet form and the page's list show the same; unlike the fleet form, this part needs no
// threads and builds for the page's fleet module too.
#pragma once

#include "batch/batch.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace form {

// A line of the summary: a caption and its value, side by side.
struct SummaryLine {
    std::string_view caption;
    std::string value;

    bool operator==(const SummaryLine &) const = default;
};

// A text of fleet_texts.h with its "%1" filled in.
std::string filledText(std::string_view pattern, std::string_view value);

// The batch's message as a sentence of its own: a capital letter first, a full stop last.
std::string sentenceOf(std::string_view message);

// The status line of a run that wrote nothing: the batch's message, then that no result was written.
std::string notWrittenText(std::string_view message);

// The summary of a run that wrote its result, the result shown as written (its path, or the name the
// page saves it by): the rows computed and rejected, the sum of the premiums, the result.
std::vector<SummaryLine> summaryLinesOf(const batch::RunSummary &summary, std::string_view written);

// The line below the rejected rows: how many are not listed; empty when every one is.
std::string moreRejectedOf(const batch::RunSummary &summary);

// The extension in lower case (".xlsx"), as the batch tells a workbook's name.
std::string extensionOf(const std::filesystem::path &path);

// The result of a list beside it: "парк.xlsx" gives "парк-result.xlsx" (a workbook of the list's kind,
// .ods likewise), any other list "<name>-result.csv".
std::filesystem::path resultNameOf(const std::filesystem::path &list);

} // namespace form
