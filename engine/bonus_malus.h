// Step 3: the bonus-malus factor KBM of the tariff approved by Government decree No. 264 of 7 May 2003.
// A policyholder is in one of 15 classes; the class decides KBM, and the number of insurance payouts
// during a term moves the class for the next one. A first contract starts in class "3". "M" is the
// Latin capital M.
#pragma once

#include "engine/factor_table.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace engine {

inline constexpr auto kPayoutCounts = std::to_array<std::string_view>({"0", "1", "2", "3", "4"});
inline constexpr std::string_view kFirstContractClass = "3";

struct BonusMalusClass {
    std::string_view label;                                  // "M", "0", ..., "13"
    std::string_view factor;                                 // KBM
    std::array<std::string_view, kPayoutCounts.size()> next; // class at the end of the term, by payouts
};

// clang-format off
inline constexpr auto kBonusMalusClasses = std::to_array<BonusMalusClass>({
    //  class  KBM      0     1    2    3    4 payouts
    {"M",  "2,45", {"0",  "M", "M", "M", "M"}},
    {"0",  "2,3",  {"1",  "M", "M", "M", "M"}},
    {"1",  "1,55", {"2",  "M", "M", "M", "M"}},
    {"2",  "1,4",  {"3",  "1", "M", "M", "M"}},
    {"3",  "1",    {"4",  "1", "M", "M", "M"}},
    {"4",  "0,95", {"5",  "2", "1", "M", "M"}},
    {"5",  "0,9",  {"6",  "3", "1", "M", "M"}},
    {"6",  "0,85", {"7",  "4", "2", "M", "M"}},
    {"7",  "0,8",  {"8",  "4", "2", "M", "M"}},
    {"8",  "0,75", {"9",  "5", "2", "M", "M"}},
    {"9",  "0,7",  {"10", "5", "2", "1", "M"}},
    {"10", "0,65", {"11", "6", "3", "1", "M"}},
    {"11", "0,6",  {"12", "6", "3", "1", "M"}},
    {"12", "0,55", {"13", "6", "3", "1", "M"}},
    {"13", "0,5",  {"13", "7", "3", "1", "M"}},
});
// clang-format on

constexpr std::optional<BonusMalusClass> findClass(std::string_view label)
{
    for (const BonusMalusClass &row : kBonusMalusClasses)
        if (row.label == label)
            return row;
    return std::nullopt;
}

// KBM of a class; nothing when the label is not one of the 15 (a lower-case m, a Cyrillic М or a
// label with a blank is not).
constexpr std::optional<std::string_view> classFactor(std::string_view label)
{
    if (const auto row = findClass(label))
        return row->factor;
    return std::nullopt;
}

// The class at the end of the term for a class at its start and a payout count ("0" to "4").
constexpr std::optional<std::string_view> classAfterTerm(std::string_view label, std::string_view payouts)
{
    const auto row = findClass(label);
    for (std::size_t i = 0; row && i < kPayoutCounts.size(); ++i)
        if (kPayoutCounts[i] == payouts)
            return row->next[i];
    return std::nullopt;
}

namespace detail {
constexpr bool bonusMalusWellFormed()
{
    for (const BonusMalusClass &row : kBonusMalusClasses) {
        if (!isStoredFactorText(row.factor))
            return false;
        for (const std::string_view next : row.next)
            if (!findClass(next))
                return false;
    }
    return true;
}

constexpr int classRank(std::string_view label)
{
    for (std::size_t i = 0; i < kBonusMalusClasses.size(); ++i)
        if (kBonusMalusClasses[i].label == label)
            return static_cast<int>(i);
    return -1;
}

// What every row keeps, so that a mistyped cell shows: a claim-free term moves one class up (the top
// class stays), four payouts end in class M, more payouts never end in a better class and any payout
// ends below the start class; the factor falls as the class rises.
constexpr bool transitionsConsistent()
{
    const int top = static_cast<int>(kBonusMalusClasses.size()) - 1;
    for (int rank = 0; rank <= top; ++rank) {
        const BonusMalusClass &row = kBonusMalusClasses[static_cast<std::size_t>(rank)];
        if (classRank(row.next[0]) != std::min(rank + 1, top) || row.next.back() != "M")
            return false;
        for (std::size_t p = 1; p < row.next.size(); ++p)
            if (classRank(row.next[p]) > classRank(row.next[p - 1])
                || classRank(row.next[p]) >= std::max(rank, 1))
                return false;
        if (rank > 0
            && storedUnits(kBonusMalusClasses[static_cast<std::size_t>(rank - 1)].factor)
                <= storedUnits(row.factor))
            return false;
    }
    return true;
}
} // namespace detail

static_assert(kBonusMalusClasses.size() == 15);
static_assert(detail::bonusMalusWellFormed() && detail::transitionsConsistent());
static_assert(classFactor(kFirstContractClass) == "1");

} // namespace engine
