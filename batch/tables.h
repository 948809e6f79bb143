// The engine's tables, indexed once for the batch mode: every entry a user can choose in the window maps
// to what the engine's own lookup gives for it, so a row costs a few hash look-ups instead of scans of
// 294 towns. Nothing here restates a tariff rule: each value comes from calling the engine's lookup
// for that entry while the index is built.
//
// A cell is first looked up exactly as written (after trimming spaces), in the file's own encoding; when
// that fails, in a folded form that ignores letter case, "ё" against "е" and runs of spaces, so "москва"
// finds "Москва".
#pragma once

#include "batch/rows.h"
#include "engine/fixed_point.h"
#include "engine/premium.h"
#include "engine/territory.h"
#include "engine/windows1251.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace batch {

// How far two texts may differ and still match.
enum class Fold {
    Entry, // letter case, ё/е, spaces at the ends and runs of spaces inside
    Name,  // as Entry, and Latin letters that look like Cyrillic ones count as those ("KT" is "КТ")
};

// The folded form of a UTF-8 text, itself UTF-8.
std::string foldText(std::string_view utf8, Fold fold);

// A factor as a table gives it: the text shown and its value.
struct FactorValue {
    std::string_view text; // a text of the engine's tables
    engine::FixedPoint value;
    bool operator==(const FactorValue &) const = default;
};

enum class Match {
    Found,
    Missing,
    Ambiguous, // two entries fold to the same text and give different values
};

template<typename Value>
struct Lookup {
    Match match = Match::Missing;
    const Value *value = nullptr; // when found
};

// Entries of one column: the exact texts, and their folded forms. The first of two equal entries wins,
// as in the window's lists.
//
// The exact texts are kept in the encoding of the file being read, so that a cell is found as the file
// holds it, without being converted; the folded forms are UTF-8, and so is a text looked up by them.
template<typename Value>
class EntryIndex {
public:
    explicit EntryIndex(Fold fold = Fold::Entry, Encoding encoding = Encoding::Utf8)
        : m_fold(fold)
        , m_encoding(encoding)
    {
    }

    // entry is UTF-8.
    void add(std::string_view entry, const Value &value)
    {
        if (m_encoding == Encoding::Windows1251) {
            // An entry the code page cannot spell is found only by its folded form, as a cell converted
            // from the code page could never equal it.
            std::string spelled = engine::toWindows1251(entry);
            if (engine::fromWindows1251(spelled) == entry)
                m_exact.try_emplace(std::move(spelled), value);
        } else {
            m_exact.try_emplace(std::string(entry), value);
        }
        const auto [at, added] = m_folded.try_emplace(foldText(entry, m_fold), value);
        if (!added && at->second && !(*at->second == value))
            at->second.reset();
    }

    // cell is in the file's encoding.
    Lookup<Value> findExact(std::string_view cell) const
    {
        if (const auto at = m_exact.find(cell); at != m_exact.end())
            return {Match::Found, &at->second};
        return {};
    }

    Lookup<Value> findFolded(std::string_view utf8) const
    {
        const auto at = m_folded.find(foldText(utf8, m_fold));
        if (at == m_folded.end())
            return {};
        if (!at->second)
            return {Match::Ambiguous, nullptr};
        return {Match::Found, &*at->second};
    }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const
        {
            return std::hash<std::string_view>{}(text);
        }
    };
    Fold m_fold;
    Encoding m_encoding;
    std::unordered_map<std::string, Value, Hash, std::equal_to<>> m_exact;
    std::unordered_map<std::string, std::optional<Value>, Hash, std::equal_to<>> m_folded;
};

// The factors of a settlement, by the vehicle kind of step 2.
struct TerritoryFactors {
    FactorValue general;
    FactorValue tractors;
    bool operator==(const TerritoryFactors &) const = default;
};

// The bonus-malus factors of a class at the start of the term: for a first contract, and after a term
// with 0 to 4 payouts.
struct ClassFactors {
    FactorValue atStart;
    std::array<FactorValue, 5> afterPayouts;
    bool operator==(const ClassFactors &) const = default;
};

// Lowest and highest factor a step's table gives: a factor typed as a number must lie between them.
struct Range {
    FactorValue lowest;
    FactorValue highest;
};

class Tables {
public:
    explicit Tables(Encoding encoding); // the encoding of the cells to be looked up

    // The entries of steps 1 and 4 to 9 (ТБ, КВС, КО, КМ, КС, КП, КН).
    const EntryIndex<FactorValue> &entries(engine::Factor factor) const
    {
        return m_entries[static_cast<std::size_t>(factor)];
    }
    const EntryIndex<TerritoryFactors> &settlements() const
    {
        return m_settlements;
    }
    const EntryIndex<ClassFactors> &classes() const
    {
        return m_classes;
    }
    const EntryIndex<engine::Category> &categories() const
    {
        return m_categories;
    }
    const EntryIndex<engine::VehicleKind> &vehicleKinds() const
    {
        return m_vehicleKinds;
    }
    const EntryIndex<bool> &yesNo() const
    {
        return m_yesNo;
    }
    const Range &range(engine::Factor factor) const
    {
        return m_ranges[static_cast<std::size_t>(factor)];
    }
    // What a category does with each factor, and the factors it reads, in the order of multiplication.
    const engine::FactorUses &uses(engine::Category category, bool excludeKp) const
    {
        return m_uses[usesIndex(category, excludeKp)];
    }
    const std::vector<engine::Factor> &used(engine::Category category, bool excludeKp) const
    {
        return m_used[usesIndex(category, excludeKp)];
    }

private:
    // Where a category's uses lie in m_uses and m_used, with and without КП.
    static std::size_t usesIndex(engine::Category category, bool excludeKp)
    {
        return static_cast<std::size_t>(category) * 2 + (excludeKp ? 1 : 0);
    }
    FactorValue factor(std::string_view text, engine::Factor step);
    ClassFactors classFactors(std::string_view label);

    std::array<EntryIndex<FactorValue>, engine::kFactorCount> m_entries;
    EntryIndex<TerritoryFactors> m_settlements;
    EntryIndex<ClassFactors> m_classes; // by Fold::Name: the Latin class M may be typed in Cyrillic
    EntryIndex<engine::Category> m_categories;
    EntryIndex<engine::VehicleKind> m_vehicleKinds;
    EntryIndex<bool> m_yesNo;
    std::array<Range, engine::kFactorCount> m_ranges{};
    std::array<engine::FactorUses, engine::kCategoryCount * 2> m_uses{};
    std::array<std::vector<engine::Factor>, engine::kCategoryCount * 2> m_used;
};

// The short word of a category, as the batch accepts it and names it in messages: "легковой", ...
std::string_view categoryWord(engine::Category category);

// All of them, as a message offers them: "легковой, грузовой, прицеп, автобус или иностранный".
std::string categoryChoices();

} // namespace batch
