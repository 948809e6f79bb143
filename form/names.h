// The window's controls by what they mean: the field each step writes its factor into, the list or
// drop-down that offers each of the engine's tables of entries, the options of step 2's vehicle kind,
// the exclusion of КП, and the vehicle categories and the report kinds of the premium page. Form1, every
// front and the tests take these names from here; the inventory (form/inventory.h) holds the controls
// themselves, and checks that each name here is one of its controls of the right kind.
#pragma once

#include "engine/premium.h"
#include "engine/steps.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace form {

// The factor field of each step, in step order (indexed by engine::Factor): what the step writes, and
// what "ОК" and the reports read. КН's field is the text of its drop-down.
inline constexpr auto kFactorFields = std::to_array<std::string_view>({
    "txtTb",
    "Text3",
    "Text4",
    "Text5",
    "Text6",
    "Text7",
    "Text8",
    "Text9",
    "Combo4",
});
static_assert(kFactorFields.size() == engine::kFactorCount);

constexpr std::string_view factorField(engine::Factor factor)
{
    return kFactorFields[static_cast<std::size_t>(factor)];
}

// The master list of towns, never shown, which the start-up fills and the town search reads, and the
// list of the towns found.
inline constexpr std::string_view kMasterTownList = "List4";
inline constexpr std::string_view kTownResults = "List5";

// A list or drop-down of a step and the table whose entries it offers; the step is the table's
// (engine::stepOf). A list's chosen entry counts, a drop-down's text once an entry is chosen from it.
struct StepChoice {
    std::string_view control;
    engine::Entries entries;
    bool filledAtStart = true; // false for the town results, which the town search fills
};

// clang-format off
// The lists in the order the start-up fills them, then the town results, then the drop-downs, whose
// entries come with the window's design.
inline constexpr auto kStepChoices = std::to_array<StepChoice>({
    {"List1",         engine::Entries::CarRates},
    {"List2",         engine::Entries::TruckRates},
    {"List3",         engine::Entries::MotorcycleRates},
    {"List6",         engine::Entries::Moscow},
    {"List8",         engine::Entries::Petersburg},
    {kMasterTownList, engine::Entries::Towns},
    {"List7",         engine::Entries::MoscowRegion},
    {"List9",         engine::Entries::SmallSettlements},
    {"List10",        engine::Entries::Drivers},
    {"List11",        engine::Entries::AdmittedDrivers},
    {"List12",        engine::Entries::EnginePower},
    {kTownResults,    engine::Entries::Towns, false},
    {"Combo1",        engine::Entries::Classes},
    {"Combo5",        engine::Entries::PayoutCounts},
    {"Combo2",        engine::Entries::UsePeriods},
    {"Combo3",        engine::Entries::Terms},
    {"Combo4",        engine::Entries::Violations},
});
// clang-format on

// What a control offers; nothing for a control that offers no entries of a step.
constexpr std::optional<StepChoice> stepChoice(std::string_view control)
{
    for (const StepChoice &choice : kStepChoices)
        if (choice.control == control)
            return choice;
    return std::nullopt;
}

// Step 2: a settlement's КТ is that of tractors and similar machines while kTractorsOption is selected,
// that of every other vehicle while kOtherVehiclesOption is.
inline constexpr std::string_view kOtherVehiclesOption = "Option1";
inline constexpr std::string_view kTractorsOption = "Option2";

// Step 8: the check box that takes КП out of the premium.
inline constexpr std::string_view kExcludeKpCheck = "Check1";

// The premium page: which option button stands for which vehicle category, in the page's order, top to
// bottom. Form1 reads the chosen category through it, and the inventory gives each button its
// category's caption.
struct CategoryOption {
    std::string_view name;
    engine::Category category;
};

inline constexpr auto kCategoryOptions = std::to_array<CategoryOption>({
    {"Option3", engine::Category::Cars},
    {"Option4", engine::Category::Trucks},
    {"Option5", engine::Category::Trailers},
    {"Option6", engine::Category::Buses},
    {"Option7", engine::Category::Foreign},
});
static_assert(kCategoryOptions.front().category == engine::Category::Cars, "the start-up selects the first");

// The premium page: the report "отчет" writes, a text file or a document.
inline constexpr std::string_view kTextReportOption = "Option8";
inline constexpr std::string_view kDocumentReportOption = "Option9";

namespace detail {
constexpr bool everyControlOnce()
{
    for (std::size_t i = 0; i < kStepChoices.size(); ++i)
        for (std::size_t j = i + 1; j < kStepChoices.size(); ++j)
            if (kStepChoices[i].control == kStepChoices[j].control)
                return false;
    return true;
}
// Every table of entries is offered by a control filled at start, the payout counts and КН's values
// included.
constexpr bool everyTableOffered()
{
    for (const engine::StepEntries &table : engine::kStepEntries) {
        bool offered = false;
        for (const StepChoice &choice : kStepChoices)
            offered = offered || (choice.entries == table.entries && choice.filledAtStart);
        if (!offered)
            return false;
    }
    return true;
}
} // namespace detail

static_assert(detail::everyControlOnce(), "a control offers two tables of entries");
static_assert(detail::everyTableOffered(), "a table of entries is offered by no control");
// КН's drop-down is both its choice and its field.
static_assert(stepChoice(factorField(engine::Factor::KN))->entries == engine::Entries::Violations);

} // namespace form
