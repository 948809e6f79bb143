// A lookup table: ordered rows of (entry text, factor text). The first row whose entry equals the
// chosen text exactly (same characters, same case, no trimming) wins; a miss yields nothing, and the
// caller then leaves its field as it is.
#pragma once

#include "engine/fixed_point.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace engine {

struct FactorRow {
    std::string_view entry;  // the text the user picks, exactly as shown
    std::string_view factor; // factor text, decimal comma: "1,3"
};

constexpr std::optional<std::string_view> findFactor(std::span<const FactorRow> rows, std::string_view entry)
{
    for (const FactorRow &row : rows)
        if (row.entry == entry)
            return row.factor;
    return std::nullopt;
}

constexpr bool contains(std::span<const std::string_view> names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// A factor text as the tables store it: the factor-text grammar, at most two fraction digits (a
// percentage of the base-rate table has up to five) and no trailing zero. Used by the tables' checks.
constexpr bool isStoredFactorText(std::string_view text, std::size_t maxFractionDigits = 2)
{
    const NumberForm form = numberForm(text);
    return form.valid && form.fraction.size() <= maxFractionDigits
        && (form.fraction.empty() || form.fraction.back() != '0');
}

constexpr bool allRowsWellFormed(std::span<const FactorRow> rows)
{
    return std::all_of(rows.begin(), rows.end(), [](const FactorRow &row) {
        return !row.entry.empty() && isStoredFactorText(row.factor);
    });
}

// The value of a stored factor text in units of 10^-fractionDigits ("0,95" is 9500 at four digits),
// for the tables' checks; the text has at most fractionDigits fraction digits.
constexpr std::int64_t storedUnits(std::string_view text, std::size_t fractionDigits = 4)
{
    const NumberForm form = numberForm(text);
    std::int64_t units = 0;
    for (const char c : form.whole)
        units = units * 10 + (c - '0');
    for (std::size_t i = 0; i < fractionDigits; ++i)
        units = units * 10 + (i < form.fraction.size() ? form.fraction[i] - '0' : 0);
    return units;
}

// Each row's factor is above the one before it.
constexpr bool factorsRise(std::span<const FactorRow> rows)
{
    return std::adjacent_find(rows.begin(), rows.end(), [](const FactorRow &a, const FactorRow &b) {
        return storedUnits(a.factor) >= storedUnits(b.factor);
    }) == rows.end();
}

} // namespace engine
