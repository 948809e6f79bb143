#include "web/page.h"

#include "engine/base_rates.h"
#include "engine/bonus_malus.h"
#include "engine/premium.h"
#include "engine/premium_messages.h"
#include "engine/step_factors.h"
#include "engine/territory.h"
#include "report/document.h"
#include "report/report.h"
#include "report/text_report.h"
#include "web/dom.h"
#include "web/page_layout.h"
#include "web/report_picture.h"
#include "web/start_time.h"
#include "form/category_options.h"

#include <array>
#include <span>
#include <string>

namespace web {

using namespace std::string_view_literals;

namespace {

// Step 1: base rate. A row writes TB in roubles and the same rate as percent of 400 000 roubles.
void applyBaseRate(engine::RateList list, std::string_view rows)
{
    if (const auto found = engine::findBaseRate(list, dom::chosenEntry(rows))) {
        dom::setText("txtTb", found->rate);
        dom::setText("Text1", found->percent);
    }
}

void List1_Click()
{
    applyBaseRate(engine::RateList::Cars, "List1");
}

void List2_Click()
{
    applyBaseRate(engine::RateList::Trucks, "List2");
}

void List3_Click()
{
    applyBaseRate(engine::RateList::Motorcycles, "List3");
}

// A click into one of the first four text fields sets TB alone to the rate of the car row with the
// same position.
void Text1_Click()
{
    dom::setText("txtTb", engine::shortcutRate(0));
}

void Text2_Click()
{
    dom::setText("txtTb", engine::shortcutRate(1));
}

void Text3_Click()
{
    dom::setText("txtTb", engine::shortcutRate(2));
}

void Text4_Click()
{
    dom::setText("txtTb", engine::shortcutRate(3));
}

// Step 2: territory.

void Text2_Change()
{
    const std::vector<std::string_view> towns = engine::findTowns(dom::text("Text2"));
    dom::setEntries("List5", towns);
    // The result list grows on the first search and keeps the window's background from then on.
    dom::setRows("List5", kGrownTownListRows);
    dom::dropLook("List5", lookClass(window::look::kGreyBackground));
}

engine::VehicleKind vehicleKind()
{
    return dom::checked("Option2") ? engine::VehicleKind::Tractors : engine::VehicleKind::General;
}

void applyTerritory(engine::TerritoryList list, std::string_view entries)
{
    if (const auto factor = engine::territoryFactor(list, dom::chosenEntry(entries), vehicleKind()))
        dom::setText("Text3", *factor);
}

void List5_Click()
{
    applyTerritory(engine::TerritoryList::Towns, "List5");
}

void List6_Click()
{
    applyTerritory(engine::TerritoryList::Moscow, "List6");
}

void List7_Click()
{
    applyTerritory(engine::TerritoryList::MoscowRegion, "List7");
}

void List8_Click()
{
    applyTerritory(engine::TerritoryList::Petersburg, "List8");
}

void List9_Click()
{
    applyTerritory(engine::TerritoryList::SmallSettlements, "List9");
}

// A switch of vehicle kind leaves KT empty until a settlement is chosen again.
void Option1_Click()
{
    dom::setText("Text3", "");
}

void Option2_Click()
{
    dom::setText("Text3", "");
}

// Step 3: bonus-malus.

void Combo1_Click()
{
    if (const auto factor = engine::classFactor(dom::text("Combo1")))
        dom::setText("Text4", *factor);
}

void Combo5_Click()
{
    const auto end = engine::classAfterTerm(dom::text("Combo1"), dom::text("Combo5"));
    if (!end)
        return;
    dom::setText("Text13", *end);
    dom::setText("Text4", engine::classFactor(*end).value());
}

constexpr auto kRenewalControls = std::to_array<std::string_view>({"Combo5", "Text13", "Label49", "Label50"});

void Option10_Click()
{
    for (const std::string_view control : kRenewalControls)
        dom::setHidden(control, true);
}

void Option11_Click()
{
    for (const std::string_view control : kRenewalControls)
        dom::setHidden(control, false);
}

// Steps 4 to 8: the chosen entry's factor, when the entry is one of the step's rows.
void applyFactor(std::span<const engine::FactorRow> rows, const std::string &entry, std::string_view field)
{
    if (const auto factor = engine::findFactor(rows, entry))
        dom::setText(field, *factor);
}

void List10_Click()
{
    applyFactor(engine::kDriverRows, dom::chosenEntry("List10"), "Text5");
}

void List11_Click()
{
    applyFactor(engine::kAdmittedDriverRows, dom::chosenEntry("List11"), "Text6");
}

void List12_Click()
{
    applyFactor(engine::kEnginePowerRows, dom::chosenEntry("List12"), "Text7");
}

void Combo2_Click()
{
    applyFactor(engine::kUsePeriodRows, dom::text("Combo2"), "Text8");
}

void Combo3_Click()
{
    applyFactor(engine::kTermRows, dom::text("Combo3"), "Text9");
}

// Premium page.

// The fields as "ОК" and the report read them, in one place.
engine::FieldSnapshot fieldSnapshot()
{
    engine::FieldSnapshot fields;
    for (const window::CategoryOption &option : window::kCategoryOptions) {
        if (dom::checked(option.name)) {
            fields.category = option.category;
            break;
        }
    }
    fields.excludeKp = dom::checked("Check1");
    constexpr auto kFields = std::to_array<std::string_view>(
        {"txtTb", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Text9", "Combo4"});
    static_assert(kFields.size() == engine::kFactorCount);
    for (std::size_t i = 0; i < kFields.size(); ++i)
        fields.texts[i] = dom::text(kFields[i]);
    return fields;
}

void Text10_Change()
{
    if (dom::text("Text10") == "0") {
        dom::inform(engine::kZeroWarning);
        dom::setText("Text10", "");
    }
}

void Command2_Click()
{
    const engine::PremiumOutcome outcome = engine::premiumOf(fieldSnapshot());
    if (outcome.status == engine::PremiumOutcome::Status::Ok) {
        dom::setText("Text10", engine::formatFactorText(outcome.total));
        Text10_Change(); // "0" warns and empties it
        return;
    }
    dom::inform(engine::premiumProblem(outcome));
    // No total without its factors: an earlier total must not stand beside the fields that failed.
    dom::setText("Text10", "");
}

// The report copies the fields as they stand, computing nothing, and hands the file to the browser;
// the confirmation names it as the browser saves it.
void Command7_Click()
{
    const report::ReportInput input{
        fieldSnapshot(), dom::text("Text10"), dom::text("Text11"), dom::text("Text12")};
    const auto saved = [](std::string_view name) {
        dom::inform(report::savedMessage({true, std::string(name), {}}));
    };
    if (dom::checked("Option8")) {
        dom::download(
            report::kTextReportName, "text/plain;charset=windows-1251", report::textReportBytes(input));
        saved(report::kTextReportName);
    }
    if (dom::checked("Option9")) {
        dom::download(
            report::kDocumentReportName, "application/rtf", report::documentRtf(input, reportPicture()));
        saved(report::kDocumentReportName);
    }
}

struct Handler {
    std::string_view control;
    std::string_view event;
    void (*run)();
};

// clang-format off
constexpr auto kHandlers = std::to_array<Handler>({
    {"List1", "Click", List1_Click}, {"List2", "Click", List2_Click}, {"List3", "Click", List3_Click},
    {"Text1", "Click", Text1_Click}, {"Text2", "Click", Text2_Click}, {"Text3", "Click", Text3_Click},
    {"Text4", "Click", Text4_Click},
    {"Text2", "Change", Text2_Change},
    {"List5", "Click", List5_Click}, {"List6", "Click", List6_Click}, {"List7", "Click", List7_Click},
    {"List8", "Click", List8_Click}, {"List9", "Click", List9_Click},
    {"Option1", "Click", Option1_Click}, {"Option2", "Click", Option2_Click},
    {"Combo1", "Click", Combo1_Click}, {"Combo5", "Click", Combo5_Click},
    {"Option10", "Click", Option10_Click}, {"Option11", "Click", Option11_Click},
    {"List10", "Click", List10_Click}, {"List11", "Click", List11_Click}, {"List12", "Click", List12_Click},
    {"Combo2", "Click", Combo2_Click}, {"Combo3", "Click", Combo3_Click},
    {"Command2", "Click", Command2_Click},
    {"Text10", "Change", Text10_Change},
    {"Command7", "Click", Command7_Click},
});
// clang-format on

// One handler for each control and event, as the window binds them.
constexpr bool oneHandlerEach()
{
    for (std::size_t i = 0; i < kHandlers.size(); ++i)
        for (std::size_t j = i + 1; j < kHandlers.size(); ++j)
            if (kHandlers[i].control == kHandlers[j].control && kHandlers[i].event == kHandlers[j].event)
                return false;
    return true;
}
static_assert(oneHandlerEach(), "a control's event has two handlers");

} // namespace

void handle(std::string_view control, std::string_view event)
{
    for (const Handler &handler : kHandlers)
        if (handler.control == control && handler.event == event)
            return handler.run();
}

void Form_Load(double startMillis)
{
    // The report states when the page was opened, not when it was written.
    const StartTime start = startTime(startMillis);
    dom::setText("Text11", start.date);
    dom::setText("Text12", start.time);

    dom::check("Option10");
    Option10_Click(); // as selecting it in the window runs its handler: the renewal controls stay hidden
    dom::check("Option3");
    dom::check("Option8");
    dom::check("Option1");
    Option1_Click(); // empties Text3
    dom::setText("Text3", "0");
}

} // namespace web
