#include "batch/tables.h"

#include "engine/bonus_malus.h"
#include "engine/steps.h"
#include "engine/utf8.h"

namespace batch {

namespace {

using engine::Category;
using engine::Factor;

// The short words a category may be given by, in the order of Category.
constexpr auto kCategoryWords = std::to_array<std::string_view>({
    "легковой",
    "грузовой",
    "прицеп",
    "автобус",
    "иностранный",
});
static_assert(kCategoryWords.size() == engine::kCategoryCount);

constexpr bool isSpace(char32_t c)
{
    return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n' || c == 0xA0; // no-break space too
}

// Upper-case Latin letters that look like Cyrillic ones, as the Cyrillic letter.
constexpr char32_t cyrillicLookalike(char32_t c)
{
    switch (c) {
    case U'A':
        return U'А';
    case U'B':
        return U'В';
    case U'C':
        return U'С';
    case U'E':
        return U'Е';
    case U'H':
        return U'Н';
    case U'K':
        return U'К';
    case U'M':
        return U'М';
    case U'O':
        return U'О';
    case U'P':
        return U'Р';
    case U'T':
        return U'Т';
    case U'X':
        return U'Х';
    case U'Y':
        return U'У';
    default:
        return c;
    }
}

constexpr std::size_t factorIndex(Factor factor)
{
    return static_cast<std::size_t>(factor);
}

} // namespace

std::string foldText(std::string_view utf8, Fold fold)
{
    std::string out;
    out.reserve(utf8.size());
    bool space = false;
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t c = engine::nextCodePoint(utf8, pos);
        if (isSpace(c)) {
            space = !out.empty();
            continue;
        }
        if (space)
            out += ' ';
        space = false;
        c = engine::upperCase(c);
        if (c == U'Ё')
            c = U'Е';
        if (fold == Fold::Name)
            c = cyrillicLookalike(c);
        engine::appendUtf8(out, c);
    }
    return out;
}

FactorValue Tables::factor(std::string_view text, Factor step)
{
    const FactorValue value{text, *engine::parseFactorText(text).value};
    Range &range = m_ranges[factorIndex(step)];
    if (range.lowest.text.empty() || value.value < range.lowest.value)
        range.lowest = value;
    if (range.highest.text.empty() || value.value > range.highest.value)
        range.highest = value;
    return value;
}

// A class's КБМ at the start of the term, and after a term with each number of payouts.
ClassFactors Tables::classFactors(std::string_view label)
{
    ClassFactors factors{factor(*engine::classFactor(label), Factor::KBM), {}};
    for (std::size_t i = 0; i < engine::kPayoutCounts.size(); ++i)
        factors.afterPayouts[i] = factor(
            *engine::classFactor(*engine::classAfterTerm(label, engine::kPayoutCounts[i])), Factor::KBM);
    return factors;
}

Tables::Tables(Encoding encoding)
    : m_settlements(Fold::Entry, encoding)
    , m_classes(Fold::Name, encoding)
    , m_categories(Fold::Entry, encoding)
    , m_vehicleKinds(Fold::Entry, encoding)
    , m_yesNo(Fold::Entry, encoding)
{
    m_entries.fill(EntryIndex<FactorValue>(Fold::Entry, encoding));
    // Every entry the steps offer, with the factor the engine gives for it (the payout counts give a
    // class only together with a start class).
    using engine::VehicleKind;
    for (const engine::StepEntries &table : engine::kStepEntries) {
        if (table.entries == engine::Entries::PayoutCounts)
            continue;
        for (const std::string_view entry : engine::entryTexts(table.entries)) {
            const auto factorFor = [&](VehicleKind kind) {
                return factor(*engine::entryFactor(table.entries, entry, kind), table.step);
            };
            if (table.step == Factor::KT)
                m_settlements.add(entry, {factorFor(VehicleKind::General), factorFor(VehicleKind::Tractors)});
            else if (table.step == Factor::KBM)
                m_classes.add(entry, classFactors(entry));
            else
                m_entries[factorIndex(table.step)].add(entry, factorFor(VehicleKind::General));
        }
    }

    for (std::size_t i = 0; i < engine::kCategoryCount; ++i) {
        const auto category = static_cast<Category>(i);
        m_categories.add(engine::categoryCaption(category), category);
        m_categories.add(kCategoryWords[i], category);
        for (const bool excludeKp : {false, true}) {
            m_uses[usesIndex(category, excludeKp)] = engine::factorUses(category, excludeKp);
            m_used[usesIndex(category, excludeKp)] = engine::factorsUsed(category, excludeKp);
        }
    }
    m_vehicleKinds.add("автомобили", VehicleKind::General);
    m_vehicleKinds.add("трактора", VehicleKind::Tractors);
    m_yesNo.add("да", true);
    m_yesNo.add("нет", false);
}

std::string_view categoryWord(Category category)
{
    return kCategoryWords[static_cast<std::size_t>(category)];
}

std::string categoryChoices()
{
    std::string choices;
    for (std::size_t i = 0; i < kCategoryWords.size(); ++i) {
        if (i > 0)
            choices += i + 1 < kCategoryWords.size() ? ", " : " или ";
        choices += kCategoryWords[i];
    }
    return choices;
}

} // namespace batch
