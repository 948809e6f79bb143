// The premium report: what the window shows at the moment of the click, written as a Windows-1251
// text file "str.txt" or as a formatted document "str.doc" in the reports folder.
//
// This is the folder's front: it composes a report (text_report.h, document.h), writes it through the
// file replacement (file_writer.h) and puts the outcome into words for the user. Each report replaces
// the earlier file in one step: a failed write leaves the earlier report as it was and says why.
#pragma once

#include "report/input.h"
#include "report/picture.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

namespace report {

struct WriteResult {
    bool ok = false;
    std::filesystem::path path; // the file written (or that could not be written)
    std::string reason;         // when !ok: why, in Russian, for the user

    // A report saved as path.
    static WriteResult saved(std::filesystem::path path)
    {
        return {true, std::move(path), {}};
    }
};

inline constexpr std::string_view kTextReportName = "str.txt";
inline constexpr std::string_view kDocumentReportName = "str.doc";
inline constexpr std::string_view kPictureName = "tmas.gif";

// Writes folder/"str.txt".
WriteResult writeTextReport(const ReportInput &input, const std::filesystem::path &folder);

// Writes folder/"str.doc" with the picture embedded as PNG (in the program: "tmas.gif" of its data
// folder, decoded by the window). A missing or unreadable picture fails the report before anything is
// written, with a reason that names the picture's file.
WriteResult writeDocumentReport(
    const ReportInput &input, const std::filesystem::path &folder, const PngPicture &picture);

// The confirmation after a successful write: "Cохраненно: " and the path (the first letter is a
// Latin C, as the program has always written it).
std::string savedMessage(const WriteResult &result);

// The warning after a failed write: the file and the reason, and that the earlier report is kept.
std::string failureMessage(const WriteResult &result);

} // namespace report
