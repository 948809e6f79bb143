#include "form/fleet_summary.h"

#include "engine/utf8.h"
#include "form/fleet_texts.h"
#include "report/file_writer.h"

namespace form {

namespace ft = fleet_text;

std::string filledText(std::string_view pattern, std::string_view value)
{
    std::string text(pattern);
    if (const std::size_t at = text.find("%1"); at != std::string::npos)
        text.replace(at, 2, value);
    return text;
}

std::string sentenceOf(std::string_view message)
{
    std::string text;
    if (message.empty())
        return text;
    std::size_t pos = 0;
    engine::appendUtf8(text, engine::upperCase(engine::nextCodePoint(message, pos)));
    text += message.substr(pos);
    if (!text.ends_with('.') && !text.ends_with('?') && !text.ends_with('!'))
        text += '.';
    return text;
}

std::string notWrittenText(std::string_view message)
{
    return sentenceOf(message) + " " + std::string(ft::kNotWritten);
}

std::vector<SummaryLine> summaryLinesOf(const batch::RunSummary &summary, std::string_view written)
{
    return {
        {ft::kComputedCaption, std::to_string(summary.computed)},
        {ft::kRejectedCaption, std::to_string(summary.rejected)},
        {ft::kTotalCaption, summary.total.empty() ? std::string(ft::kTotalTooLarge) : summary.total},
        {ft::kResultCaption, std::string(written)},
    };
}

std::string moreRejectedOf(const batch::RunSummary &summary)
{
    const std::uint64_t unlisted = summary.rejected - summary.rejectedRows.size();
    return unlisted > 0 ? filledText(ft::kMoreRejected, std::to_string(unlisted)) : std::string();
}

std::string extensionOf(const std::filesystem::path &path)
{
    std::string extension = report::utf8Text(path.extension());
    for (char &c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return extension;
}

std::filesystem::path resultNameOf(const std::filesystem::path &list)
{
    const std::string extension = extensionOf(list);
    const bool workbook = extension == ".xlsx" || extension == ".ods";
    return report::pathOfUtf8(report::utf8Text(list.stem()) + "-result"
        + (workbook ? report::utf8Text(list.extension()) : std::string(".csv")));
}

} // namespace form
