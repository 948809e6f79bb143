// Step 1: base rates TB of the tariff approved by Government decree No. 264 of 7 May 2003, in roubles,
// with each rate as a percentage of the sum insured of 400 000 roubles (the rate divided by 4 000,
// written out in full). Three lists, as the window shows them: cars, trucks and other vehicles,
// motorcycles.
#pragma once

#include "engine/factor_table.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace engine {

struct BaseRateRow {
    std::string_view entry;   // list label
    std::string_view rate;    // TB in roubles
    std::string_view percent; // TB as a percentage of 400 000 roubles
};

enum class RateList { Cars, Trucks, Motorcycles };

// clang-format off
inline constexpr auto kCarRates = std::to_array<BaseRateRow>({
    {"юридических лиц",                "2375", "0,59375"},
    {"физических лиц",                 "1980", "0,495"},
    {"прицепы к легковым автомобилям", "395",  "0,09875"},
    {"такси (в том числе маршрутные)", "2965", "0,74125"},
});

inline constexpr auto kTruckRates = std::to_array<BaseRateRow>({
    {"грузоподъемностью до 10 т",                                          "2025", "0,50625"},
    {"грузоподъемностью свыше 10 т",                                       "3240", "0,81"},
    {"прицепы к грузовым автомобилям",                                     "810",  "0,2025"},
    {"автобусы с числом мест сидения до 20",                               "1620", "0,405"},
    {"автобусы с числом мест сидения свыше 20",                            "2025", "0,50625"},
    {"троллейбусы",                                                        "1620", "0,405"},
    {"трамваи",                                                            "1010", "0,2525"},
    {"тракторы, самоходные дорожно-строительные и иные машины",           "1215", "0,30375"},
    {"прицепы к тракторам, самоходным дорожно-строительным и иным машинам", "305", "0,07625"},
});

inline constexpr auto kMotorcycleRates = std::to_array<BaseRateRow>({
    {"мотоциклы и мотороллеры", "1215", "0,30375"},
});
// clang-format on

constexpr std::span<const BaseRateRow> baseRateRows(RateList list)
{
    switch (list) {
    case RateList::Cars:
        return kCarRates;
    case RateList::Trucks:
        return kTruckRates;
    case RateList::Motorcycles:
        return kMotorcycleRates;
    }
    return {};
}

// The row of the list whose label is exactly entry; only that list is searched.
constexpr std::optional<BaseRateRow> findBaseRate(RateList list, std::string_view entry)
{
    for (const BaseRateRow &row : baseRateRows(list))
        if (row.entry == entry)
            return row;
    return std::nullopt;
}

// A click into one of the first four text fields of the window sets TB alone to the rate of the
// car row with the same position: 2375, 1980, 395, 2965.
inline constexpr std::size_t kShortcutCount = kCarRates.size();
constexpr std::string_view shortcutRate(std::size_t field)
{
    return kCarRates.at(field).rate;
}

namespace detail {
// Every percentage is its rate over 4 000, written in full: rate × 10^5 / 4 000 = percent × 10^5.
constexpr bool baseRatesWellFormed(std::span<const BaseRateRow> rows)
{
    for (const BaseRateRow &row : rows)
        if (row.entry.empty() || !isStoredFactorText(row.rate, 0) || !isStoredFactorText(row.percent, 5)
            || storedUnits(row.rate, 5) != storedUnits(row.percent, 5) * 4'000)
            return false;
    return true;
}
} // namespace detail

static_assert(kCarRates.size() + kTruckRates.size() + kMotorcycleRates.size() == 14);
static_assert(kShortcutCount == 4 && shortcutRate(0) == "2375" && shortcutRate(1) == "1980"
    && shortcutRate(2) == "395" && shortcutRate(3) == "2965");
static_assert(detail::baseRatesWellFormed(kCarRates) && detail::baseRatesWellFormed(kTruckRates)
    && detail::baseRatesWellFormed(kMotorcycleRates));

} // namespace engine
