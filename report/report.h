// The premium report: what the window shows at the moment of the click, written as a Windows-1251
// text file "str.txt" or as a formatted document "str.doc" in the program's folder.
//
// Everything is built from a plain value, so it can be made without a window. Each report replaces the
// earlier file in one step: a failed write leaves the earlier report as it was and says why, in words
// for the user.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace report {

struct ReportInput {        // every text is UTF-8, exactly as the window shows it
    bool foreign = false;   // Option7 (vehicles registered abroad) selected: the foreign variant
    bool excludeKp = false; // Check1 ticked
    std::string tb, kt, kbm, kvs, ko, km, ks, kp, kn; // txtTb, Text3, Text4, Text5, Text6, Text7, Text8,
                                                      // Text9, text of Combo4
    std::string total;                                // Text10
    std::string startDate, startTime;                 // Text11, Text12
};

struct WriteResult {
    bool ok = false;
    std::filesystem::path path; // the file written (or that could not be written)
    std::string reason;         // when !ok: why, in Russian, for the user
};

inline constexpr std::string_view kTextReportName = "str.txt";
inline constexpr std::string_view kDocumentReportName = "str.doc";
inline constexpr std::string_view kPictureName = "tmas.gif";

// The text report's bytes: 31 lines in Windows-1251, each line's text with its own terminator (CR, or
// CR LF for a line followed by an empty one) and then CR LF.
std::string textReportBytes(const ReportInput &input);

// The document report as RTF, which word processors open under the name "str.doc". pngBytes is the
// picture at the top, a PNG file's bytes; without a PNG the document starts with an empty paragraph.
std::string documentRtf(const ReportInput &input, const std::string &pngBytes);

// Writes folder/"str.txt".
WriteResult writeTextReport(const ReportInput &input, const std::filesystem::path &folder);

// Writes folder/"str.doc" with the picture (a GIF, or any image Qt reads) embedded as PNG. A missing or
// unreadable picture fails the report before anything is written.
WriteResult writeDocumentReport(const ReportInput &input,
    const std::filesystem::path &folder,
    const std::filesystem::path &picture); // folder/"tmas.gif" in the program

// The confirmation after a successful write: "Cохраненно: " and the path (the first letter is a
// Latin C, as the program has always written it).
std::string savedMessage(const WriteResult &result);

// The warning after a failed write: the file and the reason, and that the earlier report is kept.
std::string failureMessage(const WriteResult &result);

} // namespace report
