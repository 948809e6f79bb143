// Form1: the program's one window as behaviour, written once for every front. Ten tabs: nine steps,
// one per tariff factor, and the premium page.
//
// A click on a row of List10 reaches a front as its toolkit's event; the front calls raise("List10",
// Event::Click), which runs List10_Click. The handler reads the chosen entry through Controls, looks it up
// in the engine's table that List10 offers (the drivers' rows), and writes the factor text found into
// the field of that table's step, Text5. "ОК" (Command2_Click) reads every factor field into one
// snapshot, has the engine multiply those the chosen category uses and writes the total into Text10;
// "отчет" (Command7_Click) copies the same snapshot into a report. Which control offers which table and
// which step writes which field is form/names.h; the controls themselves are the inventory
// (form/inventory.h).
//
// The controls are the only store of state; nothing is kept between runs.
#pragma once

#include "engine/premium.h"
#include "form/controls.h"

#include <array>
#include <string_view>

namespace form {

enum class Event {
    Click,  // a chosen entry, a click into a field, a chosen drop-down entry, a selected option, a press
    Change, // any change of a text box's text
};

class Form1 {
public:
    explicit Form1(Controls &controls);
    Form1(const Form1 &) = delete;
    Form1 &operator=(const Form1 &) = delete;

    // Runs once, when the controls are built and before the window is first shown.
    void Form_Load();

    // Runs the handler of a control's event, if it has one (kHandlers).
    void raise(std::string_view control, Event event);

    // The fields as "ОК" and the report read them.
    engine::FieldSnapshot fieldSnapshot() const;

    // Step 1
    void List1_Click();
    void List2_Click();
    void List3_Click();
    void Text1_Click();
    void Text2_Click();
    void Text3_Click();
    void Text4_Click();
    // Step 2
    void Text2_Change();
    void List5_Click();
    void List6_Click();
    void List7_Click();
    void List8_Click();
    void List9_Click();
    void Option1_Click();
    void Option2_Click();
    // Step 3
    void Combo1_Click();
    void Combo5_Click();
    void Option10_Click();
    void Option11_Click();
    // Steps 4 to 8
    void List10_Click();
    void List11_Click();
    void List12_Click();
    void Combo2_Click();
    void Combo3_Click();
    // Premium page
    void Command2_Click();
    void Text10_Change();
    void Command7_Click();
    // Help pages, links, exit
    void Command1_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Label45_Click();
    void Label46_Click();
    void Command6_Click();

private:
    // Changes made by the form raise their handlers here, as the same change by the user does.
    void setText(std::string_view control, std::string_view text);
    void select(std::string_view option);

    void applyBaseRate(std::string_view list);
    void applyChoice(std::string_view control);
    void showRenewal(bool shown);
    void tell(const report::WriteResult &result);

    Controls &m_controls;
};

// One handler for each control and event. Every front wires its controls' events from this table.
struct Handler {
    std::string_view control;
    Event event;
    void (Form1::*run)();
};

// clang-format off
inline constexpr auto kHandlers = std::to_array<Handler>({
    {"List1", Event::Click, &Form1::List1_Click}, {"List2", Event::Click, &Form1::List2_Click},
    {"List3", Event::Click, &Form1::List3_Click}, {"Text1", Event::Click, &Form1::Text1_Click},
    {"Text2", Event::Click, &Form1::Text2_Click}, {"Text3", Event::Click, &Form1::Text3_Click},
    {"Text4", Event::Click, &Form1::Text4_Click},
    {"Text2", Event::Change, &Form1::Text2_Change},
    {"List5", Event::Click, &Form1::List5_Click}, {"List6", Event::Click, &Form1::List6_Click},
    {"List7", Event::Click, &Form1::List7_Click}, {"List8", Event::Click, &Form1::List8_Click},
    {"List9", Event::Click, &Form1::List9_Click},
    {"Option1", Event::Click, &Form1::Option1_Click}, {"Option2", Event::Click, &Form1::Option2_Click},
    {"Combo1", Event::Click, &Form1::Combo1_Click}, {"Combo5", Event::Click, &Form1::Combo5_Click},
    {"Option10", Event::Click, &Form1::Option10_Click}, {"Option11", Event::Click, &Form1::Option11_Click},
    {"List10", Event::Click, &Form1::List10_Click}, {"List11", Event::Click, &Form1::List11_Click},
    {"List12", Event::Click, &Form1::List12_Click},
    {"Combo2", Event::Click, &Form1::Combo2_Click}, {"Combo3", Event::Click, &Form1::Combo3_Click},
    {"Command2", Event::Click, &Form1::Command2_Click},
    {"Text10", Event::Change, &Form1::Text10_Change},
    {"Command7", Event::Click, &Form1::Command7_Click},
    {"Command1", Event::Click, &Form1::Command1_Click}, {"Command3", Event::Click, &Form1::Command3_Click},
    {"Command4", Event::Click, &Form1::Command4_Click}, {"Command5", Event::Click, &Form1::Command5_Click},
    {"Label45", Event::Click, &Form1::Label45_Click}, {"Label46", Event::Click, &Form1::Label46_Click},
    {"Command6", Event::Click, &Form1::Command6_Click},
});
// clang-format on

// The handler of a control's event; nullptr when it has none.
const Handler *findHandler(std::string_view control, Event event);

} // namespace form
