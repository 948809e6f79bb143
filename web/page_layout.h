// What the page takes from the window's design: a list shows as many rows as its rectangle on the window
// holds, and always more than one (a <select> of one row would be a drop-down); the window's looks are
// classes of the page's stylesheet.
#pragma once

#include "window/inventory.h"

#include <string_view>

namespace web {

constexpr int listRows(int heightTwips)
{
    const int rows = (heightTwips + window::kListRowTwips / 2) / window::kListRowTwips;
    return rows < 2 ? 2 : rows;
}

// The town results, as tall as the window makes them on the first search.
inline constexpr int kGrownTownListRows = listRows(window::kGrownTownListTwips);

// The window's looks as classes of the page's stylesheet.
struct LookClass {
    unsigned look;
    std::string_view name;
};
// clang-format off
inline constexpr LookClass kLookClasses[] = {
    {window::look::kHeading,        "heading"},
    {window::look::kBold,           "bold"},
    {window::look::kItalic,         "italic"},
    {window::look::kGreyStrip,      "grey-strip"},
    {window::look::kDarkStrip,      "dark-strip"},
    {window::look::kLink,           "link"},
    {window::look::kYellow,         "yellow"},
    {window::look::kCyan,           "cyan"},
    {window::look::kRedText,        "red-text"},
    {window::look::kGreyBackground, "grey-background"},
};
// clang-format on

constexpr std::string_view lookClass(unsigned look)
{
    for (const LookClass &entry : kLookClasses)
        if (entry.look == look)
            return entry.name;
    return {};
}

static_assert(listRows(255) == 2 && listRows(840) == 4 && kGrownTownListRows == 6);

} // namespace web
