// The text report: 31 lines in Windows-1251. Each line is composed with a terminator of its own and
// then written with CR LF, so a single line ends in CR CR LF and a spaced line (followed by an empty
// line in an editor) in CR LF CR LF. Field texts follow their labels without a space; the labels
// "KO", "KM", "KC" and "KH" are Latin letters, the others Cyrillic.
#include "report/text_report.h"

#include "engine/premium.h"
#include "engine/utf8.h"
#include "engine/windows1251.h"
#include "report/contacts.h"

#include <string>
#include <string_view>
#include <vector>

namespace report {

namespace {

enum class Kind { Single, Spaced };

struct Line {
    std::string text; // UTF-8
    Kind kind;
};

const std::string kShortRule(58, '=');
const std::string kLongRule(59, '=');

std::string cat(std::string_view literal, std::string_view value)
{
    std::string text(literal);
    text += value;
    return text;
}

std::vector<Line> reportLines(const ReportInput &in)
{
    using enum Kind;
    using enum engine::Factor;
    const auto shown = [&in](engine::Factor factor) {
        return shownFactor(in, factor);
    };

    std::vector<Line> lines;
    lines.reserve(31);
    const auto add = [&lines](std::string text, Kind kind) {
        lines.push_back({std::move(text), kind});
    };
    add("Страховые тарифы по обязательному страхованию гражданской", Single);
    add("ответственности владельцев транспортных средств", Spaced);
    add("УТВЕРЖДЕНЫ", Single);
    add("постановлением Правительства", Single);
    add("Российской Федерации", Single);
    add("от 7 мая 2003 г. № 264", Single);
    add(kShortRule, Single);
    add(cat("1.Базовые ставки страховых тарифов ТБ =", shown(TB)), Spaced);
    add("2.Коэффициенты страховых тарифов в зависимости от", Single);
    add(cat("территории преимущественного использования транспортного средства КТ =", shown(KT)), Spaced);
    add("3.Коэффициенты страховых тарифов в зависимости от наличия", Single);
    add("или отсутствия страховых выплат при наступлении страховых", Single);
    add("случаев, произошедших по вине страхователя (владельца ", Single);
    add(cat("транспортного средства) в период действия предыдущих договоров обязательного страхования "
            "КБМ =",
            shown(KBM)),
        Spaced);
    add(cat("4.Коэффициенты страховых тарифов в зависимости от возраста и стажа водителя   КВС =",
            shown(KVS)),
        Spaced);
    add("5.Коэффициенты страховых тарифов в зависимости от количества лиц,", Single);
    add(cat("допущенных к управлению транспортным средством KO =", shown(KO)), Spaced);
    add("6.Коэффициенты страховых тарифов в зависимости от мощности", Single);
    add(cat("двигателя легкового автомобиля, такси (в том числе маршрутного) KM =", shown(KM)), Spaced);
    add(cat("7.Коэффициенты страховых тарифов в зависимости от периода использования транспортного "
            "средства KC =",
            shown(KS)),
        Spaced);
    add(cat("8.Коэффициенты страховых тарифов в зависимости от срока страхования КП =", shown(KP)), Spaced);
    add("9.Коэффициент при наличии нарушений, предусмотренных пунктом 3 статьи 9 Федерального закона",
        Single);
    add(cat("Об обязательном страховании гражданской ответственности владельцев транспортных средств KH "
            "=",
            shown(KN)),
        Spaced);
    add(kLongRule, Single);
    add(std::string(engine::kTotalWord) + ":" + in.total + " " + "рублей", Single);
    add(kLongRule, Spaced);
    add(cat(kWebAddress, "\\"), Single); // the web address has always ended in a backslash here
    add(std::string(kMailAddress), Single);
    add(kLongRule, Single);
    add(in.startDate, Single);
    add(in.startTime, Single);
    return lines;
}

// A field may hold anything; a control character would break the report's lines, so it shows as '?'.
std::string withoutControlCharacters(const std::string &utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t start = pos;
        if (engine::isControlCharacter(engine::nextCodePoint(utf8, pos)))
            out += '?';
        else
            out.append(utf8, start, pos - start);
    }
    return out;
}

} // namespace

std::string textReportBytes(const ReportInput &input)
{
    std::string out;
    out.reserve(4096);
    for (const Line &line : reportLines(input)) {
        out += engine::toWindows1251(withoutControlCharacters(line.text));
        out += line.kind == Kind::Single ? "\r" : "\r\n"; // the line's own terminator
        out += "\r\n";                                    // the one every written line gets
    }
    return out;
}

} // namespace report
