// Fixed-point money and factor values.
//
// Every rate and factor of the tariff is held as a "factor text": decimal digits, optionally a comma
// and fraction digits ("0", "0,7", "1,55", "2375"). For arithmetic a factor text becomes a FixedPoint,
// a signed 64-bit count of ten-thousandths, and every product is rounded back to four decimals.
#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

class FixedPoint {
public:
    static constexpr std::int64_t kScale = 10'000; // ten-thousandths per unit

    constexpr FixedPoint() = default;

    static constexpr FixedPoint fromRaw(std::int64_t tenThousandths)
    {
        FixedPoint value;
        value.m_raw = tenThousandths;
        return value;
    }

    constexpr std::int64_t raw() const
    {
        return m_raw;
    }

    friend constexpr bool operator==(FixedPoint, FixedPoint) = default;
    friend constexpr auto operator<=>(FixedPoint, FixedPoint) = default;

private:
    std::int64_t m_raw = 0;
};

// The one grammar of a number written as text: digits, then optionally the separator and at least one
// more digit. A factor text uses the comma; the point is looked for only to tell the user why "1.5"
// is not a number here.
struct NumberForm {
    bool valid = false;
    std::string_view whole;    // the digits before the separator
    std::string_view fraction; // the digits after it, empty without one
};

constexpr NumberForm numberForm(std::string_view text, char separator = ',')
{
    const auto digits = [](std::string_view part) {
        if (part.empty())
            return false;
        for (const char c : part)
            if (c < '0' || c > '9')
                return false;
        return true;
    };
    const std::size_t at = text.find(separator);
    const std::string_view whole = text.substr(0, at);
    if (!digits(whole))
        return {};
    if (at == std::string_view::npos)
        return {true, whole, {}};
    const std::string_view fraction = text.substr(at + 1);
    if (!digits(fraction))
        return {};
    return {true, whole, fraction};
}

// Why a text did not yield a value.
enum class ParseError {
    Empty,        // the text is empty
    DecimalPoint, // a number written with a point ("1.5"): the separator is the comma
    NotANumber,   // anything else that is not digits with an optional comma and fraction digits
    OutOfRange,   // the number does not fit the fixed-point range
};

struct ParseResult {
    std::optional<FixedPoint> value;
    ParseError error = ParseError::NotANumber; // meaningful only when value is empty

    explicit operator bool() const
    {
        return value.has_value();
    }
};

// Why a text is not a factor text, in Russian, as said after the quoted text and a dash: the close of a
// sentence of its own (a message box: "«1.5» — не число. Десятичный разделитель — запятая, например
// 1,5."), or a clause of a longer message ("«1.5» — не число: десятичный разделитель — запятая"). An
// empty text has no words here: its caller says which field or cell is empty.
enum class Phrasing { Sentence, Clause };

struct ParseErrorWords {
    std::string_view sentence;
    std::string_view clause;
};

// In the order of ParseError.
// clang-format off
inline constexpr auto kParseErrorWords = std::to_array<ParseErrorWords>({
    {"", ""}, // Empty
    {"не число. Десятичный разделитель — запятая, например 1,5.", "не число: десятичный разделитель — запятая"},
    {"не число. Введите коэффициент цифрами, с запятой перед дробной частью, например 1,5.", "не коэффициент"},
    {"слишком большое число.", "слишком большое число"},
});
// clang-format on

constexpr std::string_view parseErrorText(ParseError error, Phrasing phrasing)
{
    const ParseErrorWords &words = kParseErrorWords[static_cast<std::size_t>(error)];
    return phrasing == Phrasing::Sentence ? words.sentence : words.clause;
}

// One row for each error, the last for OutOfRange; each error but Empty has words in both phrasings,
// the sentence ending with a full stop and the clause without one.
static_assert(kParseErrorWords.size() == static_cast<std::size_t>(ParseError::OutOfRange) + 1);
static_assert([] {
    for (std::size_t i = 1; i < kParseErrorWords.size(); ++i)
        if (!kParseErrorWords[i].sentence.ends_with('.') || kParseErrorWords[i].clause.empty()
            || kParseErrorWords[i].clause.ends_with('.'))
            return false;
    return kParseErrorWords[0].sentence.empty() && kParseErrorWords[0].clause.empty();
}());

// Parses a factor text. Only the factor-text form yields a value: no sign, no spaces, no grouping,
// no point. Fraction digits beyond the fourth are rounded to four decimals with roundTenThousandths'
// tie rule, so "1,23455" is 1,2346 and "1,23445" is 1,2344; any number of them may follow.
ParseResult parseFactorText(std::string_view text);

// Formats a value as factor text: "-" for negatives, the integer part without grouping, and a comma
// with one to four fraction digits only when the fraction is not zero ("0", "0,5", "2445,3").
std::string formatFactorText(FixedPoint value);

// The exact sum of a and b, or nothing when it leaves the fixed-point range. Sums of ten-thousandths
// need no rounding; the check comes before the addition, so an overflow is a value, never a wrapped
// number.
constexpr std::optional<FixedPoint> addExact(FixedPoint a, FixedPoint b)
{
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    if ((b.raw() > 0 && a.raw() > kMax - b.raw()) || (b.raw() < 0 && a.raw() < kMin - b.raw()))
        return std::nullopt;
    return FixedPoint::fromRaw(a.raw() + b.raw());
}

// A running sum, such as the total of a list of premiums: exact while it fits, and unknown from the
// first addition that leaves the range on, whatever is added after it.
class FixedPointTotal {
public:
    constexpr void add(FixedPoint value)
    {
        if (m_sum)
            m_sum = addExact(*m_sum, value);
    }

    // The sum, or nothing once it has overflowed.
    constexpr std::optional<FixedPoint> value() const
    {
        return m_sum;
    }

private:
    std::optional<FixedPoint> m_sum = FixedPoint();
};

// Rounding rule of every partial product: the quotient of an exact product by ten thousand is
// rounded to the nearest integer, and a remainder of exactly one half goes to the even neighbour
// (banker's rounding), so that long chains of rounded products carry no systematic upward bias:
// 1245,29905 becomes 1245,2990 and 1245,29915 becomes 1245,2992.
//
// Returns the fixed-point product of a and b, or nothing when it leaves the 64-bit range.
std::optional<FixedPoint> multiplyRounded(FixedPoint a, FixedPoint b);

} // namespace engine
