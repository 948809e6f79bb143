// The nine steps by their meaning: which tables of entries each step offers for choosing, and which
// factor an entry of them gives. The form binds the window's lists and drop-downs to these tables
// (form/names.h), and the batch mode reads the same tables by step; the engine knows no control.
//
//   step  factor  entries
//   1     ТБ      car rates; truck, bus, tractor and trailer rates; motorcycle rates
//   2     КТ      Moscow; St Petersburg and the Leningrad region; the towns; Moscow-region districts;
//                 small settlements
//   3     КБМ     the classes; the numbers of payouts during a term
//   4-8   КВС…КП  the rows of steps 4 to 8
//   9     КН      its two values, which are the factor itself
#pragma once

#include "engine/base_rates.h"
#include "engine/premium.h"
#include "engine/territory.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace engine {

// A table of entries a step offers, in which a chosen entry is looked up.
enum class Entries {
    CarRates,         // base rates of cars
    TruckRates,       // base rates of trucks, buses, trolleybuses, trams, tractors and trailers
    MotorcycleRates,  // base rate of motorcycles
    Moscow,           // the settlements of each territory list
    MoscowRegion,     //
    Petersburg,       //
    Towns,            //
    SmallSettlements, //
    Classes,          // the bonus-malus classes
    PayoutCounts,     // the numbers of payouts during a term
    Drivers,          // the rows of steps 4 to 8
    AdmittedDrivers,  //
    EnginePower,      //
    UsePeriods,       //
    Terms,            //
    Violations,       // the two values of КН
};
inline constexpr std::size_t kEntriesCount = static_cast<std::size_t>(Entries::Violations) + 1;

struct StepEntries {
    Factor step; // the step, named by the factor it yields
    Entries entries;
};

// clang-format off
// The step each table of entries belongs to, every table once.
inline constexpr auto kStepEntries = std::to_array<StepEntries>({
    {Factor::TB,  Entries::CarRates},
    {Factor::TB,  Entries::TruckRates},
    {Factor::TB,  Entries::MotorcycleRates},
    {Factor::KT,  Entries::Moscow},
    {Factor::KT,  Entries::Petersburg},
    {Factor::KT,  Entries::Towns},
    {Factor::KT,  Entries::MoscowRegion},
    {Factor::KT,  Entries::SmallSettlements},
    {Factor::KVS, Entries::Drivers},
    {Factor::KO,  Entries::AdmittedDrivers},
    {Factor::KM,  Entries::EnginePower},
    {Factor::KBM, Entries::Classes},
    {Factor::KBM, Entries::PayoutCounts},
    {Factor::KS,  Entries::UsePeriods},
    {Factor::KP,  Entries::Terms},
    {Factor::KN,  Entries::Violations},
});
// clang-format on

// The step whose factor a table's entries give.
constexpr Factor stepOf(Entries entries)
{
    for (const StepEntries &table : kStepEntries)
        if (table.entries == entries)
            return table.step;
    return Factor::TB; // not reached: every table has its step (checked below)
}

// The entry texts of a table, in the table's order.
std::vector<std::string_view> entryTexts(Entries entries);

// The factor text that an entry gives, looked up exactly in its rows: a base rate, a settlement's КТ for
// the vehicle kind, a class's КБМ, a factor of steps 4 to 8; an entry of КН is its own factor. Nothing
// when the text is no entry of those rows, and for the payout counts, which give a class only together
// with a class at the start of the term.
std::optional<std::string_view> entryFactor(
    Entries entries, std::string_view entry, VehicleKind kind = VehicleKind::General);

// The base-rate row of an entry of a step 1 list, with its percentage; nothing for other rows.
std::optional<BaseRateRow> baseRateOf(Entries entries, std::string_view entry);

namespace detail {
constexpr bool everyTableOnce()
{
    if (kStepEntries.size() != kEntriesCount)
        return false;
    for (std::size_t i = 0; i < kStepEntries.size(); ++i)
        for (std::size_t j = i + 1; j < kStepEntries.size(); ++j)
            if (kStepEntries[i].entries == kStepEntries[j].entries)
                return false;
    return true;
}
// Every step offers entries of at least one table; КН's are the values its field takes.
constexpr bool everyStepOffersEntries()
{
    for (std::size_t factor = 0; factor < kFactorCount; ++factor) {
        bool offered = false;
        for (const StepEntries &table : kStepEntries)
            offered = offered || static_cast<std::size_t>(table.step) == factor;
        if (!offered)
            return false;
    }
    return true;
}
} // namespace detail

static_assert(detail::everyTableOnce(), "a table of entries is missing or belongs to two steps");
static_assert(detail::everyStepOffersEntries(), "a step offers no entries");
static_assert(stepOf(Entries::Violations) == Factor::KN && stepOf(Entries::PayoutCounts) == Factor::KBM);

} // namespace engine
