#include "engine/premium.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace engine {

namespace {

// The foreign-vehicle rule's last step: the doubled value, as a double, times the double nearest
// to 1,3, back to the nearest ten-thousandth (ties to even, the default rounding mode).
std::optional<FixedPoint> timesOnePointThree(FixedPoint value)
{
    static_assert(kForeignKvs == "1,3", "the literal below is the foreign KVS");
    const double product = static_cast<double>(value.raw()) / static_cast<double>(FixedPoint::kScale) * 1.3;
    const double scaled = std::nearbyint(product * static_cast<double>(FixedPoint::kScale));
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    constexpr double kLimit = 9223372036854775808.0;
    if (!(scaled < kLimit && scaled >= -kLimit))
        return std::nullopt;
    return FixedPoint::fromRaw(static_cast<std::int64_t>(scaled));
}

} // namespace

std::string_view factorLabel(Factor factor)
{
    static constexpr std::array<std::string_view, kFactorCount> kLabels
        = {"ТБ", "КТ", "КБМ", "КВС", "КО", "КМ", "КС", "КП", "КН"};
    return kLabels[static_cast<std::size_t>(factor)];
}

FactorUses factorUses(Category category, bool excludeKp)
{
    using enum Factor;
    const auto at = [](Factor factor) {
        return static_cast<std::size_t>(factor);
    };
    FactorUses uses{};
    const auto multiply = [&](std::initializer_list<Factor> factors) {
        for (const Factor factor : factors)
            uses[at(factor)].multiplied = true;
    };
    switch (category) {
    case Category::Cars:
        multiply({TB, KT, KBM, KVS, KO, KM, KS, KP, KN});
        break;
    case Category::Trucks:
    case Category::Buses:
        multiply({TB, KT, KBM, KVS, KO, KS, KP, KN});
        break;
    case Category::Trailers:
        multiply({TB, KT, KS});
        break;
    case Category::Foreign:
        multiply({TB, KT, KVS, KM, KP});
        uses[at(KT)].fixed = kForeignKt;
        uses[at(KVS)].fixed = kForeignKvs;
        for (const Factor factor : {KBM, KO, KS})
            uses[at(factor)].fixed = kForeignOther;
        break;
    }
    if (excludeKp) {
        uses[at(KP)].multiplied = false;
        // The foreign report has always shown the term factor whatever the check box says.
        uses[at(KP)].shownExcluded = category != Category::Foreign;
    }
    return uses;
}

std::vector<Factor> factorsUsed(Category category, bool excludeKp)
{
    const FactorUses uses = factorUses(category, excludeKp);
    std::vector<Factor> factors;
    for (std::size_t i = 0; i < kFactorCount; ++i)
        if (uses[i].multiplied && uses[i].fixed.empty())
            factors.push_back(static_cast<Factor>(i));
    return factors;
}

std::optional<FixedPoint> premium(Category category, bool excludeKp, std::span<const FixedPoint> factors)
{
    // Counted without building the list: the batch mode calls this once per vehicle.
    const FactorUses uses = factorUses(category, excludeKp);
    const auto fromFields = std::count_if(uses.begin(), uses.end(), [](const FactorUse &use) {
        return use.multiplied && use.fixed.empty();
    });
    if (factors.size() != static_cast<std::size_t>(fromFields) || factors.empty())
        return std::nullopt;
    FixedPoint total = factors.front();
    for (const FixedPoint factor : factors.subspan(1)) {
        const auto product = multiplyRounded(total, factor);
        if (!product)
            return std::nullopt;
        total = *product;
    }
    // The fixed factors of vehicles registered abroad come last: KT = 2 exactly, then KVS = 1,3.
    if (category == Category::Foreign) {
        const auto doubled = multiplyRounded(total, *parseFactorText(kForeignKt).value);
        if (!doubled)
            return std::nullopt;
        return timesOnePointThree(*doubled);
    }
    return total;
}

PremiumOutcome premiumFromTexts(Category category, bool excludeKp, const FactorTexts &texts)
{
    PremiumOutcome outcome;
    std::vector<FixedPoint> values;
    for (const Factor factor : factorsUsed(category, excludeKp)) {
        const std::string &text = texts[static_cast<std::size_t>(factor)];
        const ParseResult parsed = parseFactorText(text);
        if (!parsed) {
            outcome.status = PremiumOutcome::Status::BadFactor;
            outcome.factor = factor;
            outcome.reason = parsed.error;
            outcome.text = text;
            return outcome;
        }
        values.push_back(*parsed.value);
    }
    const auto total = premium(category, excludeKp, values);
    if (!total) {
        outcome.status = PremiumOutcome::Status::Overflow;
        return outcome;
    }
    outcome.total = *total;
    return outcome;
}

PremiumOutcome premiumOf(const FieldSnapshot &fields)
{
    if (!fields.category) {
        PremiumOutcome zero; // nothing to multiply: the total stays 0
        zero.total = FixedPoint();
        return zero;
    }
    return premiumFromTexts(*fields.category, fields.excludeKp, fields.texts);
}

} // namespace engine
