// What the page takes from the window's design: a list shows as many rows as its rectangle on the window
// holds, and always more than one (a <select> of one row would be a drop-down); the window's looks are
// classes of the page's stylesheet.
#pragma once

#include "form/inventory.h"
#include "form/names.h"

#include <string_view>

namespace web {

constexpr int listRows(int heightTwips)
{
    const int rows = (heightTwips + form::kListRowTwips / 2) / form::kListRowTwips;
    return rows < 2 ? 2 : rows;
}

// The window's looks as classes of the page's stylesheet.
struct LookClass {
    unsigned look;
    std::string_view name;
};
// clang-format off
inline constexpr LookClass kLookClasses[] = {
    {form::look::kHeading,        "heading"},
    {form::look::kBold,           "bold"},
    {form::look::kItalic,         "italic"},
    {form::look::kGreyStrip,      "grey-strip"},
    {form::look::kDarkStrip,      "dark-strip"},
    {form::look::kLink,           "link"},
    {form::look::kYellow,         "yellow"},
    {form::look::kCyan,           "cyan"},
    {form::look::kRedText,        "red-text"},
    {form::look::kGreyBackground, "grey-background"},
};
// clang-format on

// Never seen in the window, so not on the page: the master list of towns and the characters the
// document report reads from labels.
constexpr bool onPage(const form::ControlRow &row)
{
    return row.name != form::kMasterTownList && !(row.looks & (form::look::kBadge | form::look::kCopyright));
}

static_assert(listRows(255) == 2 && listRows(840) == 4 && listRows(form::kGrownTownListTwips) == 6);

} // namespace web
