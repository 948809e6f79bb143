// The text report: 31 lines in Windows-1251. Each line is composed with a terminator of its own and
// then written with CR LF, so a single line ends in CR CR LF and a spaced line (followed by an empty
// line in an editor) in CR LF CR LF. Field texts follow their labels without a space; the labels
// "KO", "KM", "KC" and "KH" are Latin letters, the others Cyrillic.
#include "engine/premium.h"
#include "report/contacts.h"
#include "report/report.h"
#include "report/windows1251.h"

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
    // The foreign variant prints the fixed values its premium applies, whatever the fields hold, and
    // always its term factor.
    const std::string foreignKt = cat(" ", engine::kForeignKt);
    const std::string foreignKvs = cat(" ", engine::kForeignKvs);
    const std::string_view kt = in.foreign ? std::string_view(foreignKt) : in.kt;
    const std::string_view kbm = in.foreign ? std::string_view(" 1") : in.kbm;
    const std::string_view kvs = in.foreign ? std::string_view(foreignKvs) : in.kvs;
    const std::string_view ko = in.foreign ? std::string_view(" 1") : in.ko;
    const std::string_view ks = in.foreign ? std::string_view(" 1") : in.ks;
    const bool kpExcluded = !in.foreign && in.excludeKp;

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
    add(cat("1.Базовые ставки страховых тарифов ТБ =", in.tb), Spaced);
    add("2.Коэффициенты страховых тарифов в зависимости от", Single);
    add(cat("территории преимущественного использования транспортного средства КТ =", kt), Spaced);
    add("3.Коэффициенты страховых тарифов в зависимости от наличия", Single);
    add("или отсутствия страховых выплат при наступлении страховых", Single);
    add("случаев, произошедших по вине страхователя (владельца ", Single);
    add(cat("транспортного средства) в период действия предыдущих договоров обязательного страхования "
            "КБМ =",
            kbm),
        Spaced);
    add(cat("4.Коэффициенты страховых тарифов в зависимости от возраста и стажа водителя   КВС =", kvs),
        Spaced);
    add("5.Коэффициенты страховых тарифов в зависимости от количества лиц,", Single);
    add(cat("допущенных к управлению транспортным средством KO =", ko), Spaced);
    add("6.Коэффициенты страховых тарифов в зависимости от мощности", Single);
    add(cat("двигателя легкового автомобиля, такси (в том числе маршрутного) KM =", in.km), Spaced);
    add(cat("7.Коэффициенты страховых тарифов в зависимости от периода использования транспортного "
            "средства KC =",
            ks),
        Spaced);
    add(kpExcluded
            ? std::string("8.Коэффициенты страховых тарифов в зависимости от срока страхования КП = исключен")
            : cat("8.Коэффициенты страховых тарифов в зависимости от срока страхования КП =", in.kp),
        Spaced);
    add("9.Коэффициент при наличии нарушений, предусмотренных пунктом 3 статьи 9 Федерального закона",
        Single);
    add(cat("Об обязательном страховании гражданской ответственности владельцев транспортных средств KH "
            "=",
            in.kn),
        Spaced);
    add(kLongRule, Single);
    add("ИТОГО:" + in.total + " " + "рублей", Single);
    add(kLongRule, Spaced);
    add(cat(kWebAddress, "\\"), Single); // the web address has always ended in a backslash here
    add(std::string(kMailAddress), Single);
    add(kLongRule, Single);
    add(in.startDate, Single);
    add(in.startTime, Single);
    return lines;
}

} // namespace

std::string textReportBytes(const ReportInput &input)
{
    std::string out;
    out.reserve(4096);
    for (const Line &line : reportLines(input)) {
        out += toWindows1251(line.text);
        out += line.kind == Kind::Single ? "\r" : "\r\n"; // the line's own terminator
        out += "\r\n";                                    // the one every written line gets
    }
    return out;
}

} // namespace report
