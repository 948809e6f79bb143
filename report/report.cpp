#include "report/report.h"

#include "report/file_writer.h"
#include "report/picture.h"

namespace report {

WriteResult writeTextReport(const ReportInput &input, const std::filesystem::path &folder)
{
    return replaceFile(folder / kTextReportName, textReportBytes(input));
}

WriteResult writeDocumentReport(
    const ReportInput &input, const std::filesystem::path &folder, const std::filesystem::path &picture)
{
    const std::filesystem::path target = folder / kDocumentReportName;
    const PngPicture png = pictureAsPng(picture);
    if (!png.ok)
        return {false, target, png.reason};
    return replaceFile(target, documentRtf(input, png.bytes));
}

std::string savedMessage(const WriteResult &result)
{
    // The first letter is the Latin "C" (0x43), followed by Cyrillic letters.
    return "\x43охраненно: " + result.path.string();
}

std::string failureMessage(const WriteResult &result)
{
    return "Не удалось сохранить отчет " + result.path.string() + ": " + result.reason
        + ".\nПрежний файл отчета, если он был, остался без изменений.";
}

} // namespace report
