#include "report/contacts.h"
#include "report/report.h"
#include "report/text_report.h"
#include "report_input.h"
#include "support/glibc_windows1251.h"
#include "support/report_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using report::testing::sampleInput;
using support::cp1251;
using support::splitReportLines;

// "S" lines end in CR CR LF, "P" (spaced) lines in CR LF CR LF.
constexpr const char *S = "\r\r\n";
constexpr const char *P = "\r\n\r\n";

std::string expectedReport(const std::string &kt,
    const std::string &kbm,
    const std::string &kvs,
    const std::string &ko,
    const std::string &ks,
    const std::string &kpLine)
{
    const std::string rule58(58, '=');
    const std::string rule59(59, '=');
    return std::string("Страховые тарифы по обязательному страхованию гражданской") + S
        + "ответственности владельцев транспортных средств" + P + "УТВЕРЖДЕНЫ" + S
        + "постановлением Правительства" + S + "Российской Федерации" + S + "от 7 мая 2003 г. № 264" + S
        + rule58 + S + "1.Базовые ставки страховых тарифов ТБ =1980" + P
        + "2.Коэффициенты страховых тарифов в зависимости от" + S
        + "территории преимущественного использования транспортного средства КТ =" + kt + P
        + "3.Коэффициенты страховых тарифов в зависимости от наличия" + S
        + "или отсутствия страховых выплат при наступлении страховых" + S
        + "случаев, произошедших по вине страхователя (владельца " + S
        + "транспортного средства) в период действия предыдущих договоров обязательного страхования КБМ ="
        + kbm + P + "4.Коэффициенты страховых тарифов в зависимости от возраста и стажа водителя   КВС ="
        + kvs + P + "5.Коэффициенты страховых тарифов в зависимости от количества лиц," + S
        + "допущенных к управлению транспортным средством KO =" + ko + P
        + "6.Коэффициенты страховых тарифов в зависимости от мощности" + S
        + "двигателя легкового автомобиля, такси (в том числе маршрутного) KM =1,3" + P
        + "7.Коэффициенты страховых тарифов в зависимости от периода использования транспортного средства KC "
          "="
        + ks + P + kpLine + P
        + "9.Коэффициент при наличии нарушений, предусмотренных пунктом 3 статьи 9 Федерального закона" + S
        + "Об обязательном страховании гражданской ответственности владельцев транспортных средств KH =1,5"
        + P + rule59 + S + "ИТОГО:4321,09 рублей" + S + rule59 + P + std::string(report::kWebAddress) + "\\"
        + S + std::string(report::kMailAddress) + S + rule59 + S + "15.03.2024" + S + "9:41:07" + S;
}

const std::string kKpLine = "8.Коэффициенты страховых тарифов в зависимости от срока страхования КП =0,9";
const std::string kKpExcluded
    = "8.Коэффициенты страховых тарифов в зависимости от срока страхования КП = исключен";

TEST(TextReport, BothVariantsAndTheTermRuleAreWrittenByteForByte)
{
    struct Case {
        const char *name;
        bool foreign;
        bool excludeKp;
        std::string expected;
    };
    const Case cases[] = {
        {"standard", false, false, expectedReport("1,8", "0,95", "1,15", "1,5", "0,7", kKpLine)},
        {"standard, term excluded",
            false,
            true,
            expectedReport("1,8", "0,95", "1,15", "1,5", "0,7", kKpExcluded)},
        // The foreign variant prints its fixed factors and ignores the exclusion.
        {"foreign", true, false, expectedReport(" 2", " 1", " 1,3", " 1", " 1", kKpLine)},
        {"foreign, term excluded", true, true, expectedReport(" 2", " 1", " 1,3", " 1", " 1", kKpLine)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string bytes = report::textReportBytes(sampleInput(c.foreign, c.excludeKp));
        EXPECT_EQ(bytes, cp1251(c.expected));
    }
}

TEST(TextReport, HasThirtyOneLinesWhateverTheFieldsHold)
{
    report::ReportInput empty;
    report::ReportInput odd = sampleInput(false, true);
    odd.total = "  абв  ";
    odd.startTime = "";
    // Line breaks, a NUL, tabs and C1 controls in every field; a very long text; characters outside
    // Windows-1251 and outside the Basic Multilingual Plane.
    report::ReportInput broken = sampleInput();
    const std::string breaking = std::string("1,3\r\n2\r\0\t3\n\x0b\x0c", 13) + "\u0085\u0090x";
    for (std::string &text : broken.fields.texts)
        text = breaking;
    broken.total = std::string(100000, '9') + "😀\r\n";
    broken.startDate = "中文\n";
    broken.startTime = std::string(1, '\r'); // (a plain "\r" trips a false -Wrestrict of g++ 12)
    for (const report::ReportInput &in : {empty, odd, sampleInput(true), broken}) {
        const support::ReportLines lines = splitReportLines(report::textReportBytes(in));
        EXPECT_EQ(lines.texts.size(), 31u);
        EXPECT_EQ(lines.rest, "");
        EXPECT_EQ(std::count(lines.spaced.begin(), lines.spaced.end(), true), 11);
    }
    const support::ReportLines lines = splitReportLines(report::textReportBytes(broken));
    ASSERT_EQ(lines.texts.size(), 31u);
    EXPECT_TRUE(lines.texts[7].ends_with("=1,3??2???3?????x")) << lines.texts[7];
}

TEST(TextReport, FieldsAreWrittenAsTypedWithUnknownCharactersAsQuestionMarks)
{
    report::ReportInput in = sampleInput();
    in.fields.texts[0] = "";
    in.fields.texts[8] = "1,5 ✓";
    in.total = "12\xFF";
    in.startDate = "2024年";
    const support::ReportLines lines = splitReportLines(report::textReportBytes(in));
    ASSERT_EQ(lines.texts.size(), 31u);
    EXPECT_EQ(lines.texts[7], cp1251("1.Базовые ставки страховых тарифов ТБ ="));
    EXPECT_TRUE(lines.texts[22].ends_with(" KH =1,5 ?"));
    EXPECT_EQ(lines.texts[24], cp1251("ИТОГО:12? рублей"));
    EXPECT_EQ(lines.texts[29], "2024?");
}

} // namespace
