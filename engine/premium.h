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
// driver factors: the doubling is exact and the 1,3 is applied in binary floating point.
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

// The nine tariff factors, in step order.
enum class Factor { TB, KT, KBM, KVS, KO, KM, KS, KP, KN };
inline constexpr std::size_t kFactorCount = 9;

// The factor's abbreviation as the window's steps show it: "ТБ", "КТ", "КБМ", ..., "КН".
std::string_view factorLabel(Factor factor);

// The factors a category multiplies, in the order of multiplication.
std::vector<Factor> factorsUsed(Category category, bool excludeKp);

// Fixed values of the foreign-vehicle rule, as the reports print them.
inline constexpr std::string_view kForeignKt = "2";
inline constexpr std::string_view kForeignKvs = "1,3";

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

} // namespace engine
