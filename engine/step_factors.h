// Steps 4 to 9: the driver, admitted-drivers, engine-power, period-of-use, term and violations factors
// of the tariff approved by Government decree No. 264 of 7 May 2003. Each step offers fixed entries;
// the chosen entry's text is looked up in the step's rows. The entry texts are the tariff's wording
// as the window shows it, boundaries included ("свыше 70 до 95 включительно").
#pragma once

#include "engine/factor_table.h"

#include <array>
#include <string_view>

namespace engine {

// clang-format off

// KVS: driver age and driving experience.
inline constexpr auto kDriverRows = std::to_array<FactorRow>({
    {"до 22 лет включительно со стажем вождения до 2 лет включительно", "1,3"},
    {"до 22 лет включительно со стажем вождения свыше 2 лет",           "1,2"},
    {"от 22 лет и старше со стажем вождения до 2 лет включительно",     "1,15"},
    {"от 22 лет и старше со стажем вождения свыше 2 лет",               "1"},
});

// KO: limited or unlimited number of persons admitted to drive. Each of the two choices is written
// over two consecutive entries that carry the same factor; the entries have no blank after the
// comma in "лиц,допущенных".
inline constexpr auto kAdmittedDriverRows = std::to_array<FactorRow>({
    {"Договор обязательного страхования предусматривает ограничение количества лиц,допущенных к", "1"},
    {"управлению транспортным средством",                                                          "1"},
    {"Договор обязательного страхования не предусматривает ограничения количества лиц,допущенных", "1,5"},
    {"к управлению транспортным средством",                                                        "1,5"},
});

// KM: engine power of a car or taxi, in horsepower.
inline constexpr auto kEnginePowerRows = std::to_array<FactorRow>({
    {"до 50 включительно",            "0,5"},
    {"свыше 50 до 70 включительно",   "0,7"},
    {"свыше 70 до 95 включительно",   "1"},
    {"свыше 95 до 120 включительно",  "1,3"},
    {"свыше 120 до 160 включительно", "1,5"},
    {"свыше 160 до 200 включительно", "1,7"},
    {"свыше 200",                     "1,9"},
});

// KS: months of use of the vehicle during the year.
inline constexpr auto kUsePeriodRows = std::to_array<FactorRow>({
    {"6 месяцев",       "0,7"},
    {"7 месяцев",       "0,8"},
    {"8 месяцев",       "0,9"},
    {"9 месяцев",       "0,95"},
    {"более 9 месяцев", "1"},
});

// KP: insurance term.
inline constexpr auto kTermRows = std::to_array<FactorRow>({
    {"15 дней",   "0,2"},
    {"1 месяц",   "0,3"},
    {"2 месяца",  "0,4"},
    {"3 месяца",  "0,5"},
    {"4 месяца",  "0,6"},
    {"5 месяцев", "0,65"},
    {"6 месяцев", "0,7"},
});

// clang-format on

// KN: no violations, or the increase for the violations of article 9, item 3 of the federal law on
// compulsory insurance. The chosen or typed text is itself the factor.
inline constexpr auto kViolationFactors = std::to_array<std::string_view>({"1", "1,5"});

// Entry shown at start in the period and term choices: "6 месяцев".
inline constexpr std::string_view kDefaultPeriodEntry = kUsePeriodRows.front().entry;

static_assert(kDriverRows.size() == 4 && allRowsWellFormed(kDriverRows));
static_assert(kAdmittedDriverRows.size() == 4 && allRowsWellFormed(kAdmittedDriverRows));
static_assert(kEnginePowerRows.size() == 7 && allRowsWellFormed(kEnginePowerRows));
static_assert(kUsePeriodRows.size() == 5 && allRowsWellFormed(kUsePeriodRows));
static_assert(kTermRows.size() == 7 && allRowsWellFormed(kTermRows));
static_assert(findFactor(kTermRows, kDefaultPeriodEntry) == "0,7");
// The tariff's order: more power, longer use, a longer term each cost more.
static_assert(factorsRise(kEnginePowerRows) && factorsRise(kUsePeriodRows) && factorsRise(kTermRows));

} // namespace engine
