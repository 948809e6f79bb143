#include "engine/base_rates.h"
#include "engine/bonus_malus.h"
#include "engine/step_factors.h"
#include "engine/steps.h"

#include <gtest/gtest.h>

#include <string>

// The tables' shapes (sizes, order, derived columns) are static_asserts beside the tables.
using namespace engine;

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
        {"13", "0", "13", "0,5"}, {"M", "0", "0", "2,3"}, {"9", "3", "1", "1,55"}, {"8", "3", "M", "2,45"},
        {"3", "1", "1", "1,55"}, {"2", "1", "1", "1,55"}, {"13", "1", "7", "0,8"}, {"4", "2", "1", "1,55"},
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

// The table of steps: every entry a step offers gives a factor of its step, found exactly and only in
// its own rows; the payout counts give none on their own.
TEST(Steps, EveryOfferedEntryGivesAFactorOfItsOwnRowsOnly)
{
    for (const StepEntries &table : kStepEntries) {
        SCOPED_TRACE(static_cast<int>(table.entries));
        const std::vector<std::string_view> entries = entryTexts(table.entries);
        ASSERT_FALSE(entries.empty());
        for (const std::string_view entry : entries) {
            const auto factor = entryFactor(table.entries, entry);
            EXPECT_EQ(factor.has_value(), table.entries != Entries::PayoutCounts) << entry;
            EXPECT_FALSE(entryFactor(table.entries, std::string(entry) + " ")) << entry;
        }
        EXPECT_FALSE(entryFactor(table.entries, ""));
    }
    EXPECT_EQ(entryFactor(Entries::Towns, "Омск", VehicleKind::Tractors), "0,8");
    EXPECT_EQ(entryFactor(Entries::Towns, "Омск"), "1,3");
    EXPECT_FALSE(entryFactor(Entries::Towns, "Москва"));
    EXPECT_FALSE(entryFactor(Entries::Drivers, "до 50 включительно")); // a row of another step
    EXPECT_EQ(entryFactor(Entries::Classes, "M"), "2,45");
    EXPECT_EQ(entryFactor(Entries::Violations, std::string("1,5")), "1,5"); // the table's own text
    EXPECT_FALSE(entryFactor(Entries::Violations, "2"));
    EXPECT_EQ(baseRateOf(Entries::MotorcycleRates, "мотоциклы и мотороллеры")->percent, "0,30375");
    EXPECT_FALSE(baseRateOf(Entries::Drivers, "мотоциклы и мотороллеры"));
}
