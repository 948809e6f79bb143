#include "engine/base_rates.h"
#include "engine/bonus_malus.h"
#include "engine/fixed_point.h"
#include "engine/step_factors.h"

#include <gtest/gtest.h>

#include <string>

using namespace engine;

namespace {

FixedPoint value(std::string_view factorText)
{
    const auto parsed = parseFactorText(factorText);
    EXPECT_TRUE(parsed) << factorText;
    return parsed.value.value_or(FixedPoint());
}

} // namespace

TEST(BaseRates, LookupSearchesOnlyTheClickedList)
{
    const auto person = findBaseRate(RateList::Cars, "физических лиц");
    ASSERT_TRUE(person);
    EXPECT_EQ(person->rate, "1980");
    EXPECT_EQ(person->percent, "0,495");

    const auto heavy = findBaseRate(RateList::Trucks, "грузоподъемностью свыше 10 т");
    ASSERT_TRUE(heavy);
    EXPECT_EQ(heavy->rate, "3240");
    EXPECT_EQ(heavy->percent, "0,81");

    EXPECT_TRUE(findBaseRate(RateList::Motorcycles, "мотоциклы и мотороллеры"));
    EXPECT_FALSE(findBaseRate(RateList::Trucks, "мотоциклы и мотороллеры"));
    EXPECT_FALSE(findBaseRate(RateList::Cars, "Физических лиц"));
    EXPECT_FALSE(findBaseRate(RateList::Cars, "физических лиц "));
    EXPECT_FALSE(findBaseRate(RateList::Cars, ""));
}

TEST(BaseRates, PercentIsTheRateOverFourThousandWrittenInFull)
{
    for (const RateList list : {RateList::Cars, RateList::Trucks, RateList::Motorcycles}) {
        for (const BaseRateRow &row : baseRateRows(list)) {
            SCOPED_TRACE(std::string(row.entry));
            // rate / 4000 = percent  <=>  rate * 100000 == percent digits * 4000 * 10^(5 - fraction digits)
            const std::string percent(row.percent);
            const auto comma = percent.find(',');
            const std::string digits
                = comma == std::string::npos ? percent : percent.substr(0, comma) + percent.substr(comma + 1);
            const std::size_t fractionDigits = comma == std::string::npos ? 0 : percent.size() - comma - 1;
            long long scaled = std::stoll(digits);
            for (std::size_t i = fractionDigits; i < 5; ++i)
                scaled *= 10;
            EXPECT_EQ(std::stoll(std::string(row.rate)) * 100'000, scaled * 4'000);
        }
    }
}

TEST(BaseRates, RowsThatShareARate)
{
    const auto rate = [](RateList list, std::string_view entry) {
        return findBaseRate(list, entry)->rate;
    };
    EXPECT_EQ(rate(RateList::Trucks, "грузоподъемностью до 10 т"), "2025");
    EXPECT_EQ(rate(RateList::Trucks, "автобусы с числом мест сидения свыше 20"), "2025");
    EXPECT_EQ(rate(RateList::Trucks, "автобусы с числом мест сидения до 20"), "1620");
    EXPECT_EQ(rate(RateList::Trucks, "троллейбусы"), "1620");
    EXPECT_EQ(rate(RateList::Trucks, "тракторы, самоходные дорожно-строительные и иные машины"), "1215");
    EXPECT_EQ(rate(RateList::Motorcycles, "мотоциклы и мотороллеры"), "1215");
    EXPECT_EQ(rate(RateList::Trucks, "трамваи"), "1010");
}

TEST(BaseRates, ShortcutsAreTheCarRatesInListOrder)
{
    ASSERT_EQ(kShortcutCount, 4u);
    EXPECT_EQ(shortcutRate(0), "2375");
    EXPECT_EQ(shortcutRate(1), "1980");
    EXPECT_EQ(shortcutRate(2), "395");
    EXPECT_EQ(shortcutRate(3), "2965");
}

TEST(BonusMalus, ClassLabelsCompareExactly)
{
    EXPECT_EQ(classFactor("M"), "2,45");
    EXPECT_EQ(classFactor("3"), "1");
    EXPECT_EQ(classFactor("13"), "0,5");
    EXPECT_FALSE(classFactor("m"));
    EXPECT_FALSE(classFactor("М")); // Cyrillic capital Em
    EXPECT_FALSE(classFactor(" 3"));
    EXPECT_FALSE(classFactor("03"));
    EXPECT_FALSE(classFactor("14"));
    EXPECT_FALSE(classFactor(""));
    EXPECT_FALSE(classAfterTerm("3", "5"));
    EXPECT_FALSE(classAfterTerm("3", " 0"));
    EXPECT_FALSE(classAfterTerm("М", "0"));
}

TEST(BonusMalus, TransitionsOfTheTariff)
{
    struct Case {
        const char *start, *payouts, *end, *factor;
    };
    // clang-format off
    const Case cases[] = {
        {"13", "0", "13", "0,5"},
        {"M", "0", "0", "2,3"},
        {"9", "3", "1", "1,55"},
        {"8", "3", "M", "2,45"},
        {"3", "1", "1", "1,55"},
        {"2", "1", "1", "1,55"},
        {"13", "1", "7", "0,8"},
        {"4", "2", "1", "1,55"},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.start) + " after " + c.payouts);
        const auto end = classAfterTerm(c.start, c.payouts);
        ASSERT_TRUE(end);
        EXPECT_EQ(*end, c.end);
        EXPECT_EQ(classFactor(*end), c.factor);
    }
}

// Properties every row of the transition table must keep; a mistyped cell breaks one of them.
TEST(BonusMalus, TransitionTableIsConsistent)
{
    const auto rank = [](std::string_view label) {
        for (std::size_t i = 0; i < kBonusMalusClasses.size(); ++i)
            if (kBonusMalusClasses[i].label == label)
                return static_cast<int>(i);
        return -1;
    };
    for (std::size_t i = 0; i < kBonusMalusClasses.size(); ++i) {
        const BonusMalusClass &row = kBonusMalusClasses[i];
        SCOPED_TRACE(std::string(row.label));
        // A claim-free term moves one class up, the top class stays.
        EXPECT_EQ(rank(row.next[0]), std::min<int>(static_cast<int>(i) + 1, 14));
        // Four payouts always end in class M.
        EXPECT_EQ(row.next[4], "M");
        // More payouts never end in a better class, and any payout ends below the start class.
        for (std::size_t p = 1; p < kPayoutCounts.size(); ++p) {
            EXPECT_LE(rank(row.next[p]), rank(row.next[p - 1]));
            EXPECT_LT(rank(row.next[p]), std::max(static_cast<int>(i), 1));
        }
    }
    // The factor falls as the class rises.
    for (std::size_t i = 1; i < kBonusMalusClasses.size(); ++i)
        EXPECT_GT(value(kBonusMalusClasses[i - 1].factor), value(kBonusMalusClasses[i].factor));
}

TEST(StepFactors, LookupsUseTheWholeEntryText)
{
    EXPECT_EQ(
        findFactor(kDriverRows, "до 22 лет включительно со стажем вождения до 2 лет включительно"), "1,3");
    EXPECT_EQ(findFactor(kDriverRows, "от 22 лет и старше со стажем вождения свыше 2 лет"), "1");
    // KO: each choice spans two entries; the second line of each gives its own choice's factor.
    EXPECT_EQ(findFactor(kAdmittedDriverRows, "управлению транспортным средством"), "1");
    EXPECT_EQ(findFactor(kAdmittedDriverRows, "к управлению транспортным средством"), "1,5");
    EXPECT_EQ(
        findFactor(kAdmittedDriverRows,
            "Договор обязательного страхования не предусматривает ограничения количества лиц,допущенных"),
        "1,5");
    EXPECT_FALSE(findFactor(kAdmittedDriverRows,
        "Договор обязательного страхования не предусматривает ограничения количества лиц, допущенных"));
    // 95 horsepower belongs to the row that ends at 95 inclusive.
    EXPECT_EQ(findFactor(kEnginePowerRows, "свыше 70 до 95 включительно"), "1");
    EXPECT_EQ(findFactor(kEnginePowerRows, "до 50 включительно"), "0,5");
    EXPECT_EQ(findFactor(kEnginePowerRows, "свыше 200"), "1,9");
    EXPECT_FALSE(findFactor(kEnginePowerRows, "95"));
    EXPECT_EQ(findFactor(kUsePeriodRows, "более 9 месяцев"), "1");
    EXPECT_EQ(findFactor(kTermRows, "15 дней"), "0,2");
    EXPECT_EQ(findFactor(kTermRows, "5 месяцев"), "0,65");
    EXPECT_FALSE(findFactor(kTermRows, "6 Месяцев"));
    EXPECT_FALSE(findFactor(kTermRows, "6 месяцев "));
    // "6 месяцев" is the start entry of both the period and the term and gives 0,7 in each.
    EXPECT_EQ(findFactor(kUsePeriodRows, kDefaultPeriodEntry), "0,7");
    EXPECT_EQ(findFactor(kTermRows, kDefaultPeriodEntry), "0,7");
    EXPECT_EQ(kViolationFactors, (std::array<std::string_view, 2>{"1", "1,5"}));
}

TEST(StepFactors, FactorsGrowWithTheRiskTheyPrice)
{
    // Entry order follows the tariff: more power, longer use, longer term each cost more.
    const auto ascending = [](std::span<const FactorRow> rows) {
        for (std::size_t i = 1; i < rows.size(); ++i)
            if (!(value(rows[i - 1].factor) < value(rows[i].factor)))
                return false;
        return true;
    };
    EXPECT_TRUE(ascending(kEnginePowerRows));
    EXPECT_TRUE(ascending(kUsePeriodRows));
    EXPECT_TRUE(ascending(kTermRows));
}
