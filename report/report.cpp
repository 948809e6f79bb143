#include "report/report.h"

#include "report/document.h"
#include "report/file_writer.h"
#include "report/text_report.h"

#include <cerrno>

namespace report {

namespace {

constexpr FileWording kReportFile = {
    "файл отчета защищен от записи",
    "на месте файла отчета находится папка с тем же именем",
};

WriteResult outcome(const std::filesystem::path &target, const FileStatus &status)
{
    if (status)
        return WriteResult::saved(target);
    return {false, target, failureReason(status, kReportFile)};
}

std::string pictureProblem(const PngPicture &png)
{
    const std::string name = utf8Text(png.file);
    switch (png.problem) {
    case PngPicture::Problem::None:
        break;
    case PngPicture::Problem::Unreadable:
        if (png.error == ENOENT)
            return "не найден рисунок " + name;
        if (png.error == EACCES || png.error == EPERM)
            return "нет прав на чтение рисунка " + name;
        if (png.error == EISDIR)
            return "на месте рисунка " + name + " находится папка";
        return "не удалось прочитать рисунок " + name + " (" + errorReason(png.error) + ")";
    case PngPicture::Problem::NotAPicture:
        return "рисунок " + name + " поврежден или не является рисунком";
    case PngPicture::Problem::NotConverted:
        return "не удалось преобразовать рисунок " + name + " в PNG";
    }
    return {};
}

} // namespace

WriteResult writeTextReport(const ReportInput &input, const std::filesystem::path &folder)
{
    const std::filesystem::path target = folder / kTextReportName;
    return outcome(target, replaceFile(target, textReportBytes(input)));
}

WriteResult writeDocumentReport(
    const ReportInput &input, const std::filesystem::path &folder, const PngPicture &picture)
{
    const std::filesystem::path target = folder / kDocumentReportName;
    if (!picture)
        return {false, target, pictureProblem(picture)};
    return outcome(target, replaceFile(target, documentRtf(input, picture.bytes)));
}

std::string savedMessage(const WriteResult &result)
{
    // The first letter is the Latin "C" (0x43), followed by Cyrillic letters.
    return "\x43охраненно: " + utf8Text(result.path);
}

std::string failureMessage(const WriteResult &result)
{
    return "Не удалось сохранить отчет " + utf8Text(result.path) + ": " + result.reason
        + ".\nПрежний файл отчета, если он был, остался без изменений.";
}

} // namespace report
