// Form1's behaviour, once for every front: the start-up, each step's handler, "ОК", the report and the
// links, played as a user's moves on the form's controls as plain data (support::RecordingForm). The
// fronts' own suites test only how they bind their controls to these handlers.
#include "engine/premium_messages.h"
#include "engine/steps.h"
#include "engine/territory.h"
#include "form/contrast.h"
#include "form/inventory.h"
#include "support/recording_form.h"

#include <gtest/gtest.h>

using form::Event;
using support::RecordingForm;

namespace {

const std::string kZeroWarning(engine::kZeroWarning);

std::vector<std::string> texts(const std::vector<std::string_view> &views)
{
    return {views.begin(), views.end()};
}

} // namespace

TEST(Form1, StartsWithTheValuesOfAnUntouchedTariff)
{
    RecordingForm f;
    // clang-format off
    EXPECT_EQ(f.play({"txtTb?0", "Text1?0", "Text3?0", "Text4?1", "Text5?0", "Text6?0", "Text7?0", "Text8?0,7",
        "Text9?0,7", "Combo4?1", "Text10?", "Text13?", "Text2?", "Combo1?3", "Combo2?6 месяцев", "Combo3?6 месяцев",
        "Combo5?", "Text11?05.03.2024", "Text12?09:01:07"}), "");
    // clang-format on
    for (const char *name : {"Option1", "Option3", "Option8", "Option10"})
        EXPECT_TRUE(f.checked(name)) << name;
    for (const char *name :
        {"Option2", "Option4", "Option5", "Option6", "Option7", "Option9", "Option11", "Check1"})
        EXPECT_FALSE(f.checked(name)) << name;
    for (const char *name : {"Combo5", "Text13", "Label49", "Label50", "List4", "Text11", "Text12"})
        EXPECT_FALSE(f.control(name).visible) << name;

    // The lists in the order the start-up fills them, as the engine's tables hold them; none chosen.
    const std::pair<const char *, std::size_t> counts[] = {{"List1", 4},
        {"List2", 9},
        {"List3", 1},
        {"List4", 294},
        {"List5", 0},
        {"List6", 1},
        {"List7", 39},
        {"List8", 2},
        {"List9", 2},
        {"List10", 4},
        {"List11", 4},
        {"List12", 7},
        {"Combo1", 15},
        {"Combo2", 5},
        {"Combo3", 7},
        {"Combo4", 2},
        {"Combo5", 5}};
    for (const auto &[name, count] : counts) {
        EXPECT_EQ(f.control(name).entries.size(), count) << name;
        EXPECT_FALSE(f.control(name).chosen) << name;
    }
    EXPECT_EQ(f.control("List4").entries, texts(engine::entryTexts(engine::Entries::Towns)));
    EXPECT_EQ(f.control("List1").entries.front(), "юридических лиц");
    EXPECT_TRUE(f.messages.empty());
    EXPECT_TRUE(f.reports.empty() && f.opened.empty());
}

TEST(Form1, BaseRateRowsAndFieldShortcuts)
{
    RecordingForm f;
    // clang-format off
    EXPECT_EQ(f.play({"List1:физических лиц", "txtTb?1980", "Text1?0,495", "List2:трамваи", "txtTb?1010",
        "Text1?0,2525", "List2:грузоподъемностью свыше 10 т", "txtTb?3240", "Text1?0,81",
        "List3:мотоциклы и мотороллеры", "txtTb?1215", "Text1?0,30375"}), "");
    // A click into one of the first four fields sets TB alone to the car rate of its position.
    EXPECT_EQ(f.play({"List1:юридических лиц", "#Text3", "txtTb?395", "Text1?0,59375", "Text3?0",
        "#Text1", "txtTb?2375", "#Text2", "txtTb?1980", "#Text4", "txtTb?2965", "Text4?1"}), "");
    // clang-format on
    // A pick in one list leaves the chosen row of another; the taxi row does not pick the category.
    EXPECT_EQ(f.chosenEntry("List2"), "грузоподъемностью свыше 10 т");
    EXPECT_EQ(f.play({"List1:такси (в том числе маршрутные)"}), "");
    EXPECT_TRUE(f.checked("Option3"));
}

TEST(Form1, TownSearchFillsTheResultListAndGrowsIt)
{
    RecordingForm f;
    EXPECT_EQ(f.control("List5").height, 450);
    EXPECT_TRUE(f.control("List5").looks & form::look::kGreyBackground);

    // The results keep the master list's order: the large cities first, then the other towns.
    EXPECT_EQ(f.play({"Text2=ново", "Text3?0"}), "");
    const std::vector<std::string> found = {"Новокузнецк",
        "Новосибирск",
        "Новоалтайск",
        "Новокуйбышевск",
        "Новомосковск",
        "Новороссийск",
        "Новотроицк",
        "Новоуральск",
        "Новочебоксарск",
        "Новочеркасск",
        "Новошахтинск"};
    EXPECT_EQ(f.control("List5").entries, found);
    EXPECT_FALSE(f.control("List5").chosen);
    // The list grows on the first search and loses its grey for good.
    EXPECT_EQ(f.control("List5").height, 1230);
    EXPECT_FALSE(f.control("List5").looks & form::look::kGreyBackground);

    const std::pair<const char *, std::vector<std::string>> searches[] = {{"ОМСК", {"Омск"}},
        {"Омски", {}},
        {"город", {}},
        {"Москва", {}},
        {"Санкт", {}},
        {"губ", {"Губкин, Гуково"}},
        {"", {}}};
    for (const auto &[typed, towns] : searches) {
        EXPECT_EQ(f.play({std::string("Text2=") + typed}), "");
        EXPECT_EQ(f.control("List5").entries, towns) << typed;
    }
    // Choosing, then searching again: the list is rebuilt, the factor chosen stays.
    EXPECT_EQ(f.play({"Text2=губ", "List5:Губкин, Гуково", "Text3?1", "Text2=омск", "Text3?1"}), "");
    EXPECT_EQ(f.control("List5").height, 1230);
}

TEST(Form1, TerritoryDependsOnTheVehicleKindAtTheTimeOfChoice)
{
    RecordingForm f;
    // clang-format off
    EXPECT_EQ(f.play({"List7:Ленинский", "Text3?1,8", "List7:Клинский", "Text3?1,6", "List8:Санкт-Петербург",
        "Text3?1,8", "List8:Ленинградская область", "Text3?1,6", "List9:прочие населенные пункты", "Text3?0,4",
        "List9:города с численностью от 10 до 50 тыс", "Text3?0,6", "List6:Москва", "Text3?2",
        // The switch empties KT; Moscow stays chosen and can be chosen again.
        "#Option2", "Text3?"}), "");
    EXPECT_EQ(f.chosenEntry("List6"), "Москва");
    EXPECT_EQ(f.play({"List6:Москва", "Text3?1,2", "List7:Ленинский", "Text3?1", "List9:прочие населенные пункты",
        "Text3?0,4", "Text2=Омск", "List5:Омск", "Text3?0,8", "#Option1", "Text3?", "List5:Омск", "Text3?1,3",
        "Text2=Абакан", "List5:Абакан", "Text3?1"}), "");
    // clang-format on
}

TEST(Form1, BonusMalusFirstAndRenewedContract)
{
    RecordingForm f;
    // The payouts are out of reach until the contract is a renewal.
    EXPECT_EQ(f.play({"Combo5:1"}), "Combo5:1 (cannot be made)");
    EXPECT_EQ(f.play({"Combo1:13", "Text4?0,5", "#Option11", "Text13?", "Text4?0,5"}), "");
    for (const char *name : {"Combo5", "Text13", "Label49", "Label50"})
        EXPECT_TRUE(f.control(name).visible) << name;
    // clang-format off
    EXPECT_EQ(f.play({"Combo5:1", "Text13?7", "Text4?0,8",
        // A new start class gives its own factor; the end class stays until the payouts are chosen again.
        "Combo1:9", "Text4?0,7", "Text13?7", "Combo5:3", "Text13?1", "Text4?1,55", "Combo1:8", "Combo5:3",
        "Text13?M", "Text4?2,45", "Combo1:M", "Combo5:0", "Text13?0", "Text4?2,3", "Combo1:13", "Combo5:0",
        "Text13?13", "Text4?0,5", "Combo5:4", "Text13?M", "Text4?2,45",
        // Back to a first contract: the renewal controls hide, nothing is cleared.
        "#Option10", "Text4?2,45"}), "");
    EXPECT_FALSE(f.control("Combo5").visible);
    // A class typed but not chosen sets nothing; the payout choice then uses the typed text, which finds
    // a row only when it is exactly a class.
    EXPECT_EQ(f.play({"#Option11", "Text13?M", "Combo5?4", "Combo1=m", "Text4?2,45", "Combo5:0", "Text13?M",
        "Text4?2,45", "Combo1=M", "Combo5:0", "Text13?0", "Text4?2,3"}), "");
    // clang-format on
}

TEST(Form1, StepsFourToNineWriteTheirFields)
{
    RecordingForm f;
    // clang-format off
    EXPECT_EQ(f.play({"List10:от 22 лет и старше со стажем вождения до 2 лет включительно", "Text5?1,15",
        "List11:управлению транспортным средством", "Text6?1", "List11:к управлению транспортным средством", "Text6?1,5",
        "List12:свыше 70 до 95 включительно", "Text7?1", "List12:свыше 200", "Text7?1,9",
        "Combo2:более 9 месяцев", "Text8?1", "Combo3:15 дней", "Text9?0,2",
        "#Check1", "#Check1", "Text9?0,2", "Combo4:1,5", "Combo4?1,5",
        // Typing into a drop-down chooses nothing.
        "Combo2=7 месяцев", "Text8?1", "Combo3=6 месяцев", "Text9?0,2"}), "");
    // clang-format on
}

// Each row: the moves of a user, the category and whether KP is excluded among them, and the total.
TEST(Form1, PremiumOfTheWorkedExamples)
{
    // clang-format off
    const std::vector<std::string> carInMoscow = {"List1:физических лиц", "List6:Москва",
        "List10:до 22 лет включительно со стажем вождения до 2 лет включительно",
        "List11:Договор обязательного страхования предусматривает ограничение количества лиц,допущенных к",
        "List12:свыше 70 до 95 включительно"};
    const auto with = [](std::vector<std::string> moves, std::initializer_list<std::string> more) {
        moves.insert(moves.end(), more);
        return moves;
    };
    const std::pair<std::vector<std::string>, std::string> examples[] = {
        {with(carInMoscow, {"#Option3", "#Command2"}), "2522,52"},
        {with(carInMoscow, {"#Check1", "#Command2"}), "3603,6"},
        {{"List2:грузоподъемностью до 10 т", "Text2=Омск", "List5:Омск", "Text7=0",
          "List10:от 22 лет и старше со стажем вождения свыше 2 лет", "List11:управлению транспортным средством",
          "#Option4", "#Command2"}, "1289,925"},
        {{"List1:прицепы к легковым автомобилям", "List6:Москва", "#Check1", "Text4=0", "Text9=", "Combo4=x",
          "#Option5", "#Command2"}, "553"},
        {{"List1:юридических лиц", "List12:свыше 70 до 95 включительно", "Text3=", "Text5=0", "Combo4=x",
          "#Option7", "#Command2"}, "4322,5"},
        {{"List1:юридических лиц", "List12:свыше 70 до 95 включительно", "#Check1", "#Option7", "#Command2"}, "6175"},
        // KT 1,55 and KO 1,15 are no entries of their steps: the user types them into the fields.
        {{"List3:мотоциклы и мотороллеры", "Text3=1,55", "List10:от 22 лет и старше со стажем вождения до 2 лет включительно",
          "Text6=1,15", "List12:свыше 70 до 95 включительно", "#Check1", "#Command2"}, "1743,4187"},
    };
    // clang-format on
    for (const auto &[moves, total] : examples) {
        SCOPED_TRACE(total);
        RecordingForm f;
        EXPECT_EQ(f.play(moves), "");
        EXPECT_EQ(f.text("Text10"), total);
        EXPECT_TRUE(f.messages.empty());
    }
}

TEST(Form1, TotalIsASnapshotUntilTheNextOk)
{
    RecordingForm f;
    // clang-format off
    EXPECT_EQ(f.play({"List1:прицепы к легковым автомобилям", "List6:Москва", "#Option5", "#Command2", "Text10?553",
        "List2:прицепы к грузовым автомобилям", "#Option3", "#Check1", "Text10?553",
        "#Option5", "#Command2", "Text10?1134"}), ""); // 810 × 2 × 0,7
    // clang-format on
}

TEST(Form1, ZeroTotalWarnsAndEmptiesTheField)
{
    RecordingForm f;
    EXPECT_EQ(f.play({"#Command2", "Text10?"}), ""); // nothing chosen yet: TB is 0
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.messages.back().text, kZeroWarning);
    EXPECT_FALSE(f.messages.back().warning);

    // Whatever puts "0" there, the warning follows; "0,5" and "10" are totals like any other.
    EXPECT_EQ(f.play({"Text10=0,5", "Text10=10", "Text10?10"}), "");
    EXPECT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.play({"Text10=0", "Text10?"}), "");
    EXPECT_EQ(f.messages.size(), 2u);
}

TEST(Form1, UnusableFactorShowsOneMessageAndLeavesNoTotal)
{
    RecordingForm f;
    const std::vector<std::string> trailer
        = {"#Option1", "List6:Москва", "#Option5", "#Command2", "Text10?553"};
    EXPECT_EQ(f.play({"List1:прицепы к легковым автомобилям"}), "");
    EXPECT_EQ(f.play(trailer), "");

    // KT is empty right after a switch of vehicle kind: the warning, and no total beside the fields
    // that failed, so the next report's total is empty too.
    EXPECT_EQ(f.play({"#Option2", "#Command2", "Text10?", "#Command7"}), "");
    EXPECT_EQ(f.messages.at(0).text, kZeroWarning);
    ASSERT_EQ(f.reports.size(), 1u);
    EXPECT_EQ(f.reports.back().input.total, "");

    // KN typed with a point, for a category that uses it; letters in a factor field.
    const std::pair<std::vector<std::string>, std::vector<std::string>> cases[] = {
        {{"Combo4=1.5"}, {"КН", "«1.5»", "запятая"}},
        {{"Combo4=1", "Text5=один"}, {"КВС", "«один»"}},
    };
    for (const auto &[typed, words] : cases) {
        EXPECT_EQ(f.play(trailer), "");
        const std::size_t before = f.messages.size();
        EXPECT_EQ(f.play(typed), "");
        EXPECT_EQ(f.play({"#Option4", "#Command2", "Text10?"}), "");
        ASSERT_EQ(f.messages.size(), before + 1);
        for (const std::string &word : words)
            EXPECT_NE(f.messages.back().text.find(word), std::string::npos) << f.messages.back().text;
    }
}

TEST(Form1, ReportCopiesTheFieldsThenConfirmsOrWarns)
{
    RecordingForm f;
    EXPECT_EQ(
        f.play(
            {"List1:прицепы к легковым автомобилям", "List6:Москва", "#Option5", "#Command2", "#Command7"}),
        "");
    ASSERT_EQ(f.reports.size(), 1u); // the text report is chosen at start
    const report::ReportInput &input = f.reports.back().input;
    EXPECT_EQ(f.reports.back().kind, form::ReportKind::Text);
    EXPECT_EQ(input.total, "553");
    EXPECT_EQ(input.startDate, "05.03.2024");
    EXPECT_EQ(input.startTime, "09:01:07");
    EXPECT_EQ(input.fields.category, engine::Category::Trailers);
    EXPECT_EQ(input.fields.texts[0], "395");
    EXPECT_EQ(input.fields.texts[1], "2");
    EXPECT_EQ(f.messages.back().text, "Cохраненно: /program folder/str.txt");

    // The document report, and a failure: warned with the file and the reason, every field as it was.
    f.reportOutcome = [](form::ReportKind) {
        return report::WriteResult{false, "/program folder/str.doc", "файл отчета защищен от записи"};
    };
    EXPECT_EQ(f.play({"#Option9", "#Command7", "txtTb?395", "Text10?553"}), "");
    EXPECT_EQ(f.reports.back().kind, form::ReportKind::Document);
    EXPECT_TRUE(f.messages.back().warning);
    EXPECT_EQ(f.messages.back().text,
        "Не удалось сохранить отчет /program folder/str.doc: файл отчета защищен от записи.\n"
        "Прежний файл отчета, если он был, остался без изменений.");
    EXPECT_EQ(f.reports.size(), 2u);
}

TEST(Form1, HelpButtonsLinksAndExitHandOverTheirTargets)
{
    RecordingForm f;
    EXPECT_EQ(f.play({"#Command4", "#Command1", "#Command3", "#Command5", "#Label45", "#Label46"}), "");
    using Kind = form::ShellTarget::Kind;
    const std::vector<form::ShellTarget> expected = {{Kind::HelpPage, "tarif.htm"},
        {Kind::HelpPage, "prim.htm"},
        {Kind::HelpPage, "struk.htm"},
        {Kind::HelpPage, "primer.htm"},
        {Kind::WebAddress, f.text("Label45")},
        {Kind::MailMessage, "mailto:" + f.text("Label46") + "?Subject=страховка"}};
    EXPECT_EQ(f.opened, expected);
    EXPECT_FALSE(f.ended);
    EXPECT_EQ(f.play({"#Command6"}), "");
    EXPECT_TRUE(f.ended);
    EXPECT_TRUE(f.messages.empty());
}

// Handlers run through the form's table, once per event; selecting the selected option from code runs
// nothing, and so does an event that has no handler.
TEST(Form1, EventsReachTheirHandlersOnly)
{
    RecordingForm f;
    EXPECT_EQ(f.play({"List6:Москва", "#Option1", "Text3?2", "#Option11", "#Option11"}), "");
    EXPECT_TRUE(f.control("Combo5").visible);
    for (const char *control : {"List4", "Check1", "Option3", "Text5", "Combo4", "Label44", "Frame1"}) {
        f.form.raise(control, Event::Click);
        f.form.raise(control, Event::Change);
    }
    EXPECT_EQ(f.play({"Text3?2", "txtTb?0", "Text10?"}), "");
    EXPECT_TRUE(f.messages.empty() && f.opened.empty() && f.reports.empty());
    for (const form::Handler &handler : form::kHandlers)
        EXPECT_EQ(form::findHandler(handler.control, handler.event), &handler);
    EXPECT_EQ(form::findHandler("Text2", Event::Click)->run, &form::Form1::Text2_Click);
    EXPECT_EQ(form::findHandler("Text2", Event::Change)->run, &form::Form1::Text2_Change);
}

// What a screen reader says for a control, the same on every front: the caption of the label its spoken
// name names, else its spoken text, else its caption, with runs of spaces and line breaks as one space.
TEST(Inventory, SpokenNames)
{
    using form::ControlRow;
    using form::Kind;
    const ControlRow ownText{"X", Kind::TextBox, "1", "0", 0, 0, 0, 0, 0, " Итог,\n\n рублей  "};
    const ControlRow notALabel{"X", Kind::TextBox, "1", "", 0, 0, 0, 0, 0, "List1"};
    const ControlRow noName{"X", Kind::Frame, "1", "", 0, 0, 0, 0};
    const std::pair<const ControlRow *, std::string_view> cases[] = {
        {form::findControl("List1"), "Легковые автомобили:"},
        {form::findControl("Text13"), // a line break of the label's caption
            "Класс по окончании срока страхования с учетом наличия страховых случаев по вине страхователя"},
        {form::findControl("List9"), // double spaces
            "города и населенные пункты с численностью от 10 до 50 тыс. человек включительно и прочие "
            "населенные пункты."},
        {form::findControl("Combo2"), "Период использования транспортного средства"}, // trailing spaces
        {form::findControl("Combo4"), "Коэффициент (КН)"},                            // a text of its own
        {form::findControl("Option9"), "Отчет в документе str.doc"},
        {form::findControl("Command2"), "ОК"}, // the caption
        {&ownText, "Итог, рублей"},
        {&notALabel, "List1"}, // only a label names a control
        {&noName, ""},
    };
    for (const auto &[row, spoken] : cases) {
        ASSERT_TRUE(row);
        EXPECT_EQ(form::spokenName(*row), spoken) << row->name;
    }
    EXPECT_EQ(form::captionLabelOf(*form::findControl("Text3")), form::findControl("Label21"));
    EXPECT_FALSE(form::captionLabelOf(*form::findControl("Combo4")));
}

// A caption reads on its grey: the ratio's ends, a pair that reads kept, a grey darkened keeping its hue,
// and a colour that cannot read by growing lighter reads by growing darker.
TEST(Contrast, GreysAndLinksAreMovedUntilTheyRead)
{
    using form::Rgb;
    const Rgb white{255, 255, 255}, black{0, 0, 0};
    EXPECT_DOUBLE_EQ(form::contrastRatio(black, white), 21.0);
    EXPECT_DOUBLE_EQ(form::contrastRatio(white, white), 1.0);
    EXPECT_EQ(form::readableGround(white, Rgb{80, 80, 80}), (Rgb{80, 80, 80}));
    const Rgb shadow = form::readableGround(white, Rgb{160, 160, 160});
    EXPECT_GE(form::contrastRatio(white, shadow), form::kReadableContrast);
    EXPECT_TRUE(shadow.red == shadow.green && shadow.green == shadow.blue && shadow.red < 160);
    const Rgb link = form::readableText(Rgb{140, 140, 200}, Rgb{128, 128, 128});
    EXPECT_GE(form::contrastRatio(link, Rgb{128, 128, 128}), form::kReadableContrast);
}
