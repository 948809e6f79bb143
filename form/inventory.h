// The controls of the main window as data: one row per control with its name (the name every front
// gives it: objectName, element id, window name), kind, container, caption or start text, rectangle and
// look. Each front builds its controls from these rows; Form1 reads and writes them by name.
//
// Rectangles are in twips (1/1440 inch, 15 twips per pixel at 96 dots per inch) relative to the
// container: the window, a page of the tab control (which shares the tab control's own coordinates,
// tab row included) or a frame.
#pragma once

#include "report/twips.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace form {

enum class Kind { Label, TextBox, ListBox, ComboBox, Option, Check, Command, Picture, Frame, Image, Link };

// Looks, combined with |.
namespace look {
inline constexpr unsigned kNone = 0;
inline constexpr unsigned kHeading = 1u << 0;   // 9.75 pt bold
inline constexpr unsigned kBold = 1u << 1;      // 8.25 pt bold
inline constexpr unsigned kItalic = 1u << 2;    // 8.25 pt italic
inline constexpr unsigned kGreyStrip = 1u << 3; // caption bar: shadow grey behind light text
inline constexpr unsigned kDarkStrip = 1u << 4; // caption bar: workspace grey behind light text
inline constexpr unsigned kDarkBackground = 1u << 5;
inline constexpr unsigned kLink = 1u << 6; // link text on the dark background, 9.75 pt bold
inline constexpr unsigned kYellow = 1u << 7;
inline constexpr unsigned kCyan = 1u << 8;
inline constexpr unsigned kRedText = 1u << 9;
inline constexpr unsigned kGreyBackground = 1u << 10;
inline constexpr unsigned kHidden = 1u << 11;    // hidden at start
inline constexpr unsigned kBadge = 1u << 12;     // a step badge character, 14.25 pt
inline constexpr unsigned kCopyright = 1u << 13; // the copyright sign, 13.5 pt
inline constexpr unsigned kTight = 1u << 14; // lines set closer, where five lines share a four-line rectangle
} // namespace look

struct ControlRow {
    std::string_view name; // objectName and member name: "List1", "Label14(0)"
    Kind kind;
    std::string_view container;   // "Form1", a tab caption "1" to "10", or a frame's name
    std::string_view caption;     // caption or start text
    int left, top, width, height; // twips
    unsigned looks = look::kNone;
    std::string_view spoken
        = {};                  // accessible name when the caption does not say it: a label's name or a text
    std::string_view tip = {}; // tooltip
};

using report::kTwipsPerPixel;
inline constexpr int kClientWidthTwips = 8820;
inline constexpr int kClientHeightTwips = 6585;
inline constexpr int kTabControlTwips[4] = {0, 0, 8925, 5655}; // SSTab1: left, top, width, height
inline constexpr int kPageCount = 10;     // the tab control's pages: the nine steps and the premium page
inline constexpr int kListRowTwips = 195; // one entry of a list box
inline constexpr int kGrownTownListTwips = 1230; // height of the town results after the first search

// The page of the tab control that a container names: the tab captions "1" to "10" are the pages 0 to
// 9 (kPageCount pages); the window and the frames are no page.
constexpr std::optional<int> tabPage(std::string_view container)
{
    if (container.empty() || container.size() > 2 || container.front() == '0')
        return std::nullopt;
    int page = 0;
    for (const char c : container) {
        if (c < '0' || c > '9')
            return std::nullopt;
        page = page * 10 + (c - '0');
    }
    if (page > kPageCount)
        return std::nullopt;
    return page - 1;
}
static_assert(
    tabPage("1") == 0 && tabPage("10") == 9 && !tabPage("11") && !tabPage("0") && !tabPage("Form1"));

std::span<const ControlRow> controlRows();

// The window's caption; its message boxes carry it as their title.
inline constexpr std::string_view kFormCaption = "ТарифМастер";

// The row of a control; nothing for a name the window does not have.
const ControlRow *findControl(std::string_view name);

// The label that says what a control is, when the control's spoken name names one; nothing otherwise.
const ControlRow *captionLabelOf(const ControlRow &row);

// What a screen reader says for a control: the caption of the label its spoken name names, else its
// spoken text, else its caption; runs of spaces and line breaks as one space, none at either end.
std::string spokenName(const ControlRow &row);

// The picture a control shows (Image1, Image2, Command5, Command6): a GIF of window/pictures, named
// here without ".gif", drawn also at double size as name@2x.png. Empty for the other controls.
std::string_view pictureOf(std::string_view control);

// The entries a combo box carries with the window's design, and those a list box is filled with at
// start-up, from the engine's table of steps; none for other controls (and for the town results, which
// the town search fills).
std::vector<std::string_view> startEntries(std::string_view control);

// The order in which Tab visits the controls after the tab row: each page as it reads, then the bottom
// strip. Controls hidden at the time are passed over, and a group of option buttons is one stop.
std::span<const std::string_view> tabOrder();

// What a screen reader says for each of the tabs, whose captions are only "1" to "10".
std::span<const std::string_view> stepNames();

} // namespace form
