// The premium of one policy: the base rate TB times the tariff factors of the vehicle's category,
// multiplied left to right with every partial product rounded to four decimals.
//
//   Cars and taxis         TB × KT × KBM × KVS × KO × KM × KS × (KP) × KN
//   Trucks                 TB × KT × KBM × KVS × KO × KS × (KP) × KN
//   Trailers               TB × KT × KS
//   Buses, tractors, ...   TB × KT × KBM × KVS × KO × KS × (KP) × KN
//   Registered abroad      TB × KM × (KP), then × 2, then × 1,3
//
// (KP) is left out when the user excludes the term factor; the exclusion does not apply to trailers.
// Vehicles registered abroad use the fixed values KT = 2 and KVS = 1,3 in place of the territory and
// driver factors: the doubling is exact and the 1,3 is applied in binary floating point. factorUses()
// is the one place that says which factors each category multiplies and what the reports show.
#pragma once

#include "engine/fixed_point.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

enum class Category {
    Cars,     // cars and taxis, route taxis included
    Trucks,   // lorries
    Trailers, // trailers to cars, lorries, tractors and road-building machines
    Buses,    // buses, trolleybuses, trams, tractors and similar machines, motorcycles
    Foreign,  // vehicles registered abroad and used in Russia for a time
};
inline constexpr std::size_t kCategoryCount = 5;

// The captions of the five category options on the premium page, in the order of Category.
// clang-format off
inline constexpr auto kCategoryCaptions = std::to_array<std::string_view>({
    "Легковые автомобили, такси(в том числе маршрутные)",
    "Грузовые автомобили",
    "Прицепы к легковым и грузовым автомобилям, тракторам, самоходным дорожно-строительным и иным машинам",
    "Автобусы, троллейбусы, трамваи, тракторы, самоходные дорожно-строительные и иные машины, мотоциклы и мотороллеры",
    "При обязательном страховании ответственности владельцев транспортных средств, зарегистрированных в иностранных государствах и временно используемых на территории Российской Федерации.                                            Выберете шаг1,6 и 8",
});
// clang-format on
static_assert(kCategoryCaptions.size() == kCategoryCount);

constexpr std::string_view categoryCaption(Category category)
{
    return kCategoryCaptions[static_cast<std::size_t>(category)];
}

// The word over a premium's total: the reports' "ИТОГО:" line and the batch's total row, which a
// list read in again is recognised by.
inline constexpr std::string_view kTotalWord = "ИТОГО";

// The nine tariff factors, in step order.
enum class Factor { TB, KT, KBM, KVS, KO, KM, KS, KP, KN };
inline constexpr std::size_t kFactorCount = 9;

// The factor's abbreviation as the window's steps show it: "ТБ", "КТ", "КБМ", ..., "КН".
std::string_view factorLabel(Factor factor);

// What a category does with one factor: whether the premium multiplies it, and what the reports show
// for it.
struct FactorUse {
    bool multiplied = false;    // the premium multiplies it
    std::string_view fixed;     // not empty: the category's own value, used and shown in place of the field
    bool shownExcluded = false; // the reports say the user left it out ("исключен") instead of a value
    bool operator==(const FactorUse &) const = default;
};
using FactorUses = std::array<FactorUse, kFactorCount>;

// The one rule of which factors a category multiplies and prints. Every category shows all nine
// factors; a factor it does not multiply is shown as its field holds it.
//   - Cars multiply all nine; trucks and buses all but KM; trailers TB, KT and KS only.
//   - The exclusion of KP takes KP out of every product but that of trailers (which never have it),
//     and every report but the foreign one shows KP as left out.
//   - Vehicles registered abroad multiply TB, KM and KP from their fields, then the fixed KT = 2 and
//     KVS = 1,3; KBM, KO and KS are shown as the fixed 1 and not multiplied; KN is shown, not used.
FactorUses factorUses(Category category, bool excludeKp);

// The factors whose fields a category multiplies, in the order of multiplication (step order).
std::vector<Factor> factorsUsed(Category category, bool excludeKp);

// Fixed values of the foreign-vehicle rule.
inline constexpr std::string_view kForeignKt = "2";
inline constexpr std::string_view kForeignKvs = "1,3";
inline constexpr std::string_view kForeignOther = "1"; // KBM, KO and KS, as the reports show them

// Product of the factor values of factorsUsed(category, excludeKp), in that order. Returns nothing
// when a partial product leaves the fixed-point range.
std::optional<FixedPoint> premium(Category category, bool excludeKp, std::span<const FixedPoint> factors);

// The current texts of the nine factor fields, indexed by Factor.
using FactorTexts = std::array<std::string, kFactorCount>;

struct PremiumOutcome {
    enum class Status {
        Ok,
        BadFactor, // a factor the category uses is not a factor text: see factor, reason, text
        Overflow,  // the product leaves the fixed-point range
    };
    Status status = Status::Ok;
    FixedPoint total;                      // meaningful when status is Ok
    Factor factor = Factor::TB;            // the first unusable factor, when status is BadFactor
    ParseError reason = ParseError::Empty; // why it is unusable
    std::string text;                      // its text, as the user left it
};

// Reads the texts of the factors the category uses, in order, and multiplies them. Texts of factors
// the category does not use are never looked at.
PremiumOutcome premiumFromTexts(Category category, bool excludeKp, const FactorTexts &texts);

// The window's fields at one moment, read in one place: what "ОК" multiplies and the reports show.
struct FieldSnapshot {
    std::optional<Category> category; // the vehicle category selected, if any
    bool excludeKp = false;           // КП left out
    FactorTexts texts;                // the nine factor fields, UTF-8, as the window shows them
};

// The premium of the fields; with no category selected, a total of 0.
PremiumOutcome premiumOf(const FieldSnapshot &fields);

} // namespace engine
