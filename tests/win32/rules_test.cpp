// The Windows window's rules that are no Windows calls, checked without Windows: where a control lies at
// a resolution, when a drop-down's notifications are the user's choice, how a tight label breaks.
#include "win32/combo_choice.h"
#include "win32/placement.h"
#include "win32/text_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using win32::ComboNote;
using win32::ComboOutcome;

TEST(PlacementTest, TwipsBecomePixelsAsMulDivRoundsThem)
{
    struct Case {
        int twips;
        unsigned dpi;
        int pixels;
    };
    const Case cases[] = {{15, 96, 1},
        {8820, 96, 588},
        {8820, 144, 882},
        {7, 96, 0},
        {8, 96, 1}, // 7.5 twips: half a pixel up
        {315, 144, 32},
        {195, 120, 16},
        {-8, 96, -1},
        {-7, 96, 0},
        {6585, 192, 878},
        {0, 144, 0}};
    for (const Case &c : cases)
        EXPECT_EQ(win32::pixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
}

TEST(PlacementTest, ControlsLieAtTheirTwipsBelowTheTabRowAndDropDownsHoldTheirList)
{
    const form::ControlRow &combo = *form::findControl("Combo3");
    EXPECT_EQ(win32::controlRect(combo, combo.height, 96, {2, 25}), (win32::PixelRect{150, 115, 233, 21}));
    EXPECT_EQ(win32::controlRect(combo, combo.height, 144, {}), (win32::PixelRect{228, 210, 350, 32}));
    // The town list grown by the search keeps its place and takes its new height.
    const form::ControlRow &towns = *form::findControl("List5");
    EXPECT_EQ(win32::controlRect(towns, form::kGrownTownListTwips, 96, {}).height, 82);

    EXPECT_EQ(win32::dropDownHeight(21, 7, 13), 21 + 7 * 13 + 2);
    EXPECT_EQ(win32::dropDownHeight(21, 0, 13), 21 + 13 + 2);       // an empty list still drops a row
    EXPECT_EQ(win32::dropDownHeight(21, 40, 13), 21 + 15 * 13 + 2); // at most fifteen rows
    EXPECT_EQ(win32::tabWidth(595, 10), 59);
    EXPECT_EQ(win32::tabWidth(893, 10), 88);
}

// Each line: the notifications one user's move sends, and how many Clicks the form must see.
TEST(ComboChoiceTest, EachWayOfChoosingIsOneClickAndNothingElseIsAny)
{
    struct Case {
        const char *move;
        std::vector<ComboNote> notes;
        int clicks;
    };
    using enum ComboNote;
    const Case cases[] = {
        {"an entry clicked in the open list", {DropDown, SelectionEndOk, CloseUp, SelectionChange}, 1},
        {"arrows in the open list, then Return",
            {DropDown, SelectionChange, SelectionChange, SelectionEndOk, CloseUp},
            1},
        {"arrows in the open list, then Escape", {DropDown, SelectionChange, SelectionEndCancel, CloseUp}, 0},
        {"opened and closed again", {DropDown, CloseUp}, 0},
        {"an arrow on the closed drop-down", {SelectionChange}, 1},
        {"three arrows on the closed drop-down", {SelectionChange, SelectionChange, SelectionChange}, 3},
        {"typed text confirmed by Return", {Other, Other, SelectionEndOk}, 0},
        {"Escape, then the list opened and an entry clicked",
            {DropDown,
                SelectionChange,
                SelectionEndCancel,
                CloseUp,
                DropDown,
                SelectionEndOk,
                CloseUp,
                SelectionChange},
            1},
    };
    for (const Case &c : cases) {
        win32::ComboChoice choice;
        int clicks = 0;
        for (const ComboNote note : c.notes)
            clicks += choice.after(7, note) == ComboOutcome::Chosen ? 1 : 0;
        EXPECT_EQ(clicks, c.clicks) << c.move;
    }
    // The list open on one drop-down does not make another's arrows a browse.
    win32::ComboChoice choice;
    choice.after(7, DropDown);
    EXPECT_EQ(choice.after(8, SelectionChange), ComboOutcome::Chosen);
    // A browse that ends without a choice gives the drop-down back what it showed; without a browse
    // there is nothing to give back.
    choice.after(7, SelectionChange);
    EXPECT_EQ(choice.after(7, SelectionEndCancel), ComboOutcome::Dropped);
    choice.after(7, DropDown);
    EXPECT_EQ(choice.after(7, SelectionEndCancel), ComboOutcome::Nothing);
}

TEST(TextLinesTest, TightLabelsBreakAtSpacesAndCaptionsKeepTheirLineBreaks)
{
    const auto measure = [](std::wstring_view text) {
        return static_cast<int>(text.size()) * 5;
    }; // 5 px a letter
    using Lines = std::vector<std::wstring>;
    EXPECT_EQ(win32::wrappedLines(L"Класс по окончании срока", 50, measure),
        (Lines{L"Класс по", L"окончании", L"срока"}));
    EXPECT_EQ(win32::wrappedLines(L"a b\nc", 100, measure), (Lines{L"a b", L"c"}));
    EXPECT_EQ(win32::wrappedLines(L"a\r\nb", 100, measure), (Lines{L"a", L"b"}));
    EXPECT_EQ(
        win32::wrappedLines(L"страхователя", 20, measure), (Lines{L"страхователя"})); // a long word alone
    EXPECT_EQ(win32::wrappedLines(L"", 20, measure), (Lines{L""}));

    EXPECT_EQ(win32::withCarriageReturns(L"a\nb\n"), L"a\r\nb\r\n");
    EXPECT_EQ(win32::withoutCarriageReturns("a\r\nb"), "a\nb");
}

} // namespace
