// The nine steps as the window offers them: which tariff factor each step yields and into which field
// it writes it, and from which of the engine's tables each of its lists and drop-downs takes its
// entries. The window, the page and the batch mode read this table; none of them decides the binding on
// its own.
//
//   step  factor  field    chosen in (entries)
//   1     ТБ      txtTb    List1 (car rates), List2 (truck, bus, tractor and trailer rates), List3
//   (motorcycles) 2     КТ      Text3    List6 (Moscow), List8 (St Petersburg), List7 (Moscow-region
//   districts),
//                          List9 (small settlements), List5 (towns found in the master list List4)
//   3     КБМ     Text4    Combo1 (classes), Combo5 (payout counts)
//   4-8   КВС…КП  Text5-9  List10, List11, List12, Combo2, Combo3 (the rows of steps 4 to 8)
//   9     КН      Combo4   Combo4 itself: its text is the factor
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

// The rows of the engine that fill a list or a drop-down, and in which its chosen entry is looked up.
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

// How a control offers its entries: a list box, whose chosen entry counts, or a drop-down that can be
// typed into, whose text counts once an entry is chosen from its list.
enum class Offer { List, DropDown };

// A control of a step that offers entries.
struct StepChoice {
    Factor step;              // the step, named by the factor it yields
    std::string_view control; // the control's name on the window
    Offer offer;
    Entries entries;
    bool filledAtStart = true; // false for the town results, which the town search fills
};

// clang-format off
// The list boxes in the order the start-up fills them, then the town results, then the drop-downs, whose
// entries come with the window's design.
inline constexpr auto kStepChoices = std::to_array<StepChoice>({
    {Factor::TB,  "List1",  Offer::List,     Entries::CarRates},
    {Factor::TB,  "List2",  Offer::List,     Entries::TruckRates},
    {Factor::TB,  "List3",  Offer::List,     Entries::MotorcycleRates},
    {Factor::KT,  "List6",  Offer::List,     Entries::Moscow},
    {Factor::KT,  "List8",  Offer::List,     Entries::Petersburg},
    {Factor::KT,  "List4",  Offer::List,     Entries::Towns}, // the master list of towns, never shown
    {Factor::KT,  "List7",  Offer::List,     Entries::MoscowRegion},
    {Factor::KT,  "List9",  Offer::List,     Entries::SmallSettlements},
    {Factor::KVS, "List10", Offer::List,     Entries::Drivers},
    {Factor::KO,  "List11", Offer::List,     Entries::AdmittedDrivers},
    {Factor::KM,  "List12", Offer::List,     Entries::EnginePower},
    {Factor::KT,  "List5",  Offer::List,     Entries::Towns, false},
    {Factor::KBM, "Combo1", Offer::DropDown, Entries::Classes},
    {Factor::KBM, "Combo5", Offer::DropDown, Entries::PayoutCounts},
    {Factor::KS,  "Combo2", Offer::DropDown, Entries::UsePeriods},
    {Factor::KP,  "Combo3", Offer::DropDown, Entries::Terms},
    {Factor::KN,  "Combo4", Offer::DropDown, Entries::Violations},
});

// The factor field of each step, in step order (indexed by Factor): what the step writes, and what "ОК"
// and the reports read. КН's field is the text of its drop-down.
inline constexpr auto kFactorFields = std::to_array<std::string_view>({
    "txtTb", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Text9", "Combo4",
});
// clang-format on

constexpr std::string_view factorField(Factor factor)
{
    return kFactorFields[static_cast<std::size_t>(factor)];
}

// What a control offers; nothing for a control that offers no entries of a step.
constexpr std::optional<StepChoice> stepChoice(std::string_view control)
{
    for (const StepChoice &choice : kStepChoices)
        if (choice.control == control)
            return choice;
    return std::nullopt;
}

// The entry texts of a table, in the order the window shows them.
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
constexpr bool everyControlOnce()
{
    for (std::size_t i = 0; i < kStepChoices.size(); ++i)
        for (std::size_t j = i + 1; j < kStepChoices.size(); ++j)
            if (kStepChoices[i].control == kStepChoices[j].control)
                return false;
    return true;
}
// Every step but КН's, whose field is its own drop-down, offers at least one control of its own.
constexpr bool everyStepOffersEntries()
{
    for (std::size_t factor = 0; factor < kFactorCount; ++factor) {
        bool offered = false;
        for (const StepChoice &choice : kStepChoices)
            offered = offered || static_cast<std::size_t>(choice.step) == factor;
        if (!offered)
            return false;
    }
    return true;
}
} // namespace detail

static_assert(kFactorFields.size() == kFactorCount);
static_assert(detail::everyControlOnce(), "a control offers the entries of two steps");
static_assert(detail::everyStepOffersEntries(), "a step offers no entries");
static_assert(stepChoice("Combo4")->step == Factor::KN && factorField(Factor::KN) == "Combo4");

} // namespace engine
