#include "engine/steps.h"

#include "engine/bonus_malus.h"
#include "engine/step_factors.h"

#include <iterator>
#include <span>

namespace engine {

namespace {

// The step 1 list and the settlement list of an entry table; nothing for the other tables.
std::optional<RateList> rateListOf(Entries entries)
{
    switch (entries) {
    case Entries::CarRates:
        return RateList::Cars;
    case Entries::TruckRates:
        return RateList::Trucks;
    case Entries::MotorcycleRates:
        return RateList::Motorcycles;
    default:
        return std::nullopt;
    }
}

std::optional<TerritoryList> territoryListOf(Entries entries)
{
    switch (entries) {
    case Entries::Moscow:
        return TerritoryList::Moscow;
    case Entries::MoscowRegion:
        return TerritoryList::MoscowRegion;
    case Entries::Petersburg:
        return TerritoryList::Petersburg;
    case Entries::Towns:
        return TerritoryList::Towns;
    case Entries::SmallSettlements:
        return TerritoryList::SmallSettlements;
    default:
        return std::nullopt;
    }
}

// The rows of steps 4 to 8; empty for the other tables.
std::span<const FactorRow> factorRowsOf(Entries entries)
{
    switch (entries) {
    case Entries::Drivers:
        return kDriverRows;
    case Entries::AdmittedDrivers:
        return kAdmittedDriverRows;
    case Entries::EnginePower:
        return kEnginePowerRows;
    case Entries::UsePeriods:
        return kUsePeriodRows;
    case Entries::Terms:
        return kTermRows;
    default:
        return {};
    }
}

template<typename Rows, typename Text>
std::vector<std::string_view> textsOf(const Rows &rows, Text text)
{
    std::vector<std::string_view> texts;
    texts.reserve(std::size(rows));
    for (const auto &row : rows)
        texts.push_back(text(row));
    return texts;
}

} // namespace

std::vector<std::string_view> entryTexts(Entries entries)
{
    if (const auto list = rateListOf(entries))
        return textsOf(baseRateRows(*list), [](const BaseRateRow &row) {
            return row.entry;
        });
    if (const auto list = territoryListOf(entries)) {
        const auto names = territoryEntries(*list);
        return {names.begin(), names.end()};
    }
    switch (entries) {
    case Entries::Classes:
        return textsOf(kBonusMalusClasses, [](const BonusMalusClass &row) {
            return row.label;
        });
    case Entries::PayoutCounts:
        return {kPayoutCounts.begin(), kPayoutCounts.end()};
    case Entries::Violations:
        return {kViolationFactors.begin(), kViolationFactors.end()};
    default:
        return textsOf(factorRowsOf(entries), [](const FactorRow &row) {
            return row.entry;
        });
    }
}

std::optional<std::string_view> entryFactor(Entries entries, std::string_view entry, VehicleKind kind)
{
    if (const auto row = baseRateOf(entries, entry))
        return row->rate;
    if (const auto list = territoryListOf(entries))
        return territoryFactor(*list, entry, kind);
    switch (entries) {
    case Entries::Classes:
        return classFactor(entry);
    case Entries::PayoutCounts:
        return std::nullopt;
    case Entries::Violations: // the table's own text, which outlives the entry looked up
        for (const std::string_view factor : kViolationFactors)
            if (factor == entry)
                return factor;
        return std::nullopt;
    default:
        return findFactor(factorRowsOf(entries), entry);
    }
}

std::optional<BaseRateRow> baseRateOf(Entries entries, std::string_view entry)
{
    if (const auto list = rateListOf(entries))
        return findBaseRate(*list, entry);
    return std::nullopt;
}

} // namespace engine
