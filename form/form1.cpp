#include "form/form1.h"

#include "engine/base_rates.h"
#include "engine/bonus_malus.h"
#include "engine/premium_messages.h"
#include "engine/steps.h"
#include "engine/territory.h"
#include "form/inventory.h"
#include "form/names.h"

#include <vector>

namespace form {

namespace {

using engine::Factor;

// What a renewed contract adds to step 3: the number of payouts and the class at the end of the term,
// with their captions.
constexpr auto kRenewalControls = std::to_array<std::string_view>({"Combo5", "Text13", "Label49", "Label50"});

bool isList(std::string_view control)
{
    return findControl(control)->kind == Kind::ListBox;
}

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

const Handler *findHandler(std::string_view control, Event event)
{
    for (const Handler &handler : kHandlers)
        if (handler.control == control && handler.event == event)
            return &handler;
    return nullptr;
}

Form1::Form1(Controls &controls)
    : m_controls(controls)
{
}

void Form1::raise(std::string_view control, Event event)
{
    if (const Handler *handler = findHandler(control, event))
        (this->*handler->run)();
}

void Form1::setText(std::string_view control, std::string_view text)
{
    if (m_controls.text(control) == text)
        return;
    m_controls.setText(control, text);
    raise(control, Event::Change);
}

// Selecting an option button from code runs its handler, as the user's click does; selecting the one
// already selected changes nothing and runs nothing.
void Form1::select(std::string_view option)
{
    if (m_controls.checked(option))
        return;
    m_controls.select(option);
    raise(option, Event::Click);
}

// The design already holds the start values of the factor fields and keeps the master list of towns,
// the start date and time and the renewal controls hidden; start-up adds what only it knows.
void Form1::Form_Load()
{
    // The report states when the program was started, not when it was written.
    const StartTime start = m_controls.startTime();
    setText("Text11", start.date);
    setText("Text12", start.time);

    select("Option10"); // runs Option10_Click, which keeps the renewal controls hidden

    for (const StepChoice &choice : kStepChoices)
        if (choice.filledAtStart && isList(choice.control))
            m_controls.setEntries(choice.control, engine::entryTexts(choice.entries));

    select(kCategoryOptions.front().name); // cars
    select(kTextReportOption);
    select(kOtherVehiclesOption); // runs Option1_Click, which empties КТ's field
    setText(factorField(Factor::KT), "0");
}

// Step 1: base rate. A row writes TB in roubles and the same rate as percent of 400 000 roubles.
void Form1::applyBaseRate(std::string_view list)
{
    const std::optional<std::string> entry = m_controls.chosenEntry(list);
    if (!entry)
        return;
    if (const auto row = engine::baseRateOf(stepChoice(list)->entries, *entry)) {
        setText(factorField(Factor::TB), row->rate);
        setText("Text1", row->percent);
    }
}

void Form1::List1_Click()
{
    applyBaseRate("List1");
}

void Form1::List2_Click()
{
    applyBaseRate("List2");
}

void Form1::List3_Click()
{
    applyBaseRate("List3");
}

// A click into one of the first four text fields sets TB alone to the rate of the car row with the
// same position.
void Form1::Text1_Click()
{
    setText(factorField(Factor::TB), engine::shortcutRate(0));
}

void Form1::Text2_Click()
{
    setText(factorField(Factor::TB), engine::shortcutRate(1));
}

void Form1::Text3_Click()
{
    setText(factorField(Factor::TB), engine::shortcutRate(2));
}

void Form1::Text4_Click()
{
    setText(factorField(Factor::TB), engine::shortcutRate(3));
}

// Steps 2 to 8: the chosen entry of a list, or the text of a drop-down, looked up in the rows the step
// offers; a text that is none of them changes nothing. A settlement's factor depends on the vehicle
// kind selected at the moment of the choice.
void Form1::applyChoice(std::string_view control)
{
    const auto choice = stepChoice(control);
    const std::optional<std::string> entry = isList(control)
        ? m_controls.chosenEntry(control)
        : std::optional<std::string>(m_controls.text(control));
    if (!entry)
        return;
    const Factor step = engine::stepOf(choice->entries);
    const engine::VehicleKind kind = step == Factor::KT && m_controls.checked(kTractorsOption)
        ? engine::VehicleKind::Tractors
        : engine::VehicleKind::General;
    if (const auto factor = engine::entryFactor(choice->entries, *entry, kind))
        setText(factorField(step), *factor);
}

// Step 2: territory.

void Form1::Text2_Change()
{
    const std::vector<std::string_view> towns = engine::findTowns(m_controls.text("Text2"));
    m_controls.setEntries(kTownResults, towns);
    // The result list grows on the first search and keeps the window's background from then on.
    m_controls.setHeight(kTownResults, kGrownTownListTwips);
    m_controls.setLooks(kTownResults, look::kNone);
}

void Form1::List5_Click()
{
    applyChoice("List5");
}

void Form1::List6_Click()
{
    applyChoice("List6");
}

void Form1::List7_Click()
{
    applyChoice("List7");
}

void Form1::List8_Click()
{
    applyChoice("List8");
}

void Form1::List9_Click()
{
    applyChoice("List9");
}

// A switch of vehicle kind leaves KT empty until a settlement is chosen again.
void Form1::Option1_Click()
{
    setText(factorField(Factor::KT), "");
}

void Form1::Option2_Click()
{
    setText(factorField(Factor::KT), "");
}

// Step 3: bonus-malus.

void Form1::Combo1_Click()
{
    applyChoice("Combo1");
}

// The class at the end of the term, and its КБМ, for the class at the start and the payouts.
void Form1::Combo5_Click()
{
    const auto end = engine::classAfterTerm(m_controls.text("Combo1"), m_controls.text("Combo5"));
    if (!end)
        return;
    setText("Text13", *end);
    setText(factorField(Factor::KBM), engine::classFactor(*end).value());
}

void Form1::showRenewal(bool shown)
{
    for (const std::string_view control : kRenewalControls)
        m_controls.setVisible(control, shown);
}

void Form1::Option10_Click()
{
    showRenewal(false);
}

void Form1::Option11_Click()
{
    showRenewal(true);
}

// Steps 4 to 8.

void Form1::List10_Click()
{
    applyChoice("List10");
}

void Form1::List11_Click()
{
    applyChoice("List11");
}

void Form1::List12_Click()
{
    applyChoice("List12");
}

void Form1::Combo2_Click()
{
    applyChoice("Combo2");
}

void Form1::Combo3_Click()
{
    applyChoice("Combo3");
}

// Premium page.

engine::FieldSnapshot Form1::fieldSnapshot() const
{
    engine::FieldSnapshot fields;
    for (const CategoryOption &option : kCategoryOptions) {
        if (m_controls.checked(option.name)) {
            fields.category = option.category;
            break;
        }
    }
    fields.excludeKp = m_controls.checked(kExcludeKpCheck);
    for (std::size_t i = 0; i < engine::kFactorCount; ++i)
        fields.texts[i] = m_controls.text(kFactorFields[i]);
    return fields;
}

void Form1::Command2_Click()
{
    const engine::PremiumOutcome outcome = engine::premiumOf(fieldSnapshot());
    if (outcome.status == engine::PremiumOutcome::Status::Ok) {
        setText("Text10", engine::formatFactorText(outcome.total)); // "0" warns and empties it
        return;
    }
    m_controls.inform(engine::premiumProblem(outcome));
    // No total without its factors: an earlier total must not stand beside the fields that failed.
    setText("Text10", "");
}

void Form1::Text10_Change()
{
    if (m_controls.text("Text10") == "0") {
        m_controls.inform(engine::kZeroWarning);
        setText("Text10", "");
    }
}

void Form1::tell(const report::WriteResult &result)
{
    if (result.ok)
        m_controls.inform(report::savedMessage(result));
    else
        m_controls.warn(report::failureMessage(result));
}

// The report copies the fields as they stand, computing nothing; it is written first and confirmed
// after, and a failure is reported with the file and the reason while every field stays as it was.
void Form1::Command7_Click()
{
    const report::ReportInput input{
        fieldSnapshot(), m_controls.text("Text10"), m_controls.text("Text11"), m_controls.text("Text12")};
    if (m_controls.checked(kTextReportOption))
        tell(m_controls.saveReport(ReportKind::Text, input));
    if (m_controls.checked(kDocumentReportOption))
        tell(m_controls.saveReport(ReportKind::Document, input));
}

// Help pages, links and exit. What the shell answers changes nothing in the window.

void Form1::Command1_Click()
{
    m_controls.open(Module1::helpPage(Module1::kNotePage));
}

void Form1::Command3_Click()
{
    m_controls.open(Module1::helpPage(Module1::kStructurePage));
}

void Form1::Command4_Click()
{
    m_controls.open(Module1::helpPage(Module1::kTariffPage));
}

void Form1::Command5_Click()
{
    m_controls.open(Module1::helpPage(Module1::kExamplePage));
}

void Form1::Label45_Click()
{
    m_controls.open(Module1::webAddress(m_controls.text("Label45")));
}

void Form1::Label46_Click()
{
    m_controls.open(Module1::mailMessage(m_controls.text("Label46")));
}

void Form1::Command6_Click()
{
    m_controls.endProgram();
}

} // namespace form
