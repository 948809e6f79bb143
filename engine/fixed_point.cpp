#include "engine/fixed_point.h"

#include <limits>

namespace engine {

namespace {

constexpr std::uint64_t kScale = static_cast<std::uint64_t>(FixedPoint::kScale);
constexpr std::uint64_t kMaxRaw = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());

constexpr unsigned digitValue(char c)
{
    return static_cast<unsigned>(c - '0');
}

// Rounds quotient + remainder / kScale to an integer, ties to the even quotient.
constexpr std::uint64_t roundQuotient(std::uint64_t quotient, std::uint64_t remainder)
{
    const std::uint64_t half = kScale / 2;
    if (remainder > half || (remainder == half && quotient % 2 == 1))
        return quotient + 1;
    return quotient;
}

bool checkedMul(std::uint64_t a, std::uint64_t b, std::uint64_t &out)
{
    if (a != 0 && b > std::numeric_limits<std::uint64_t>::max() / a)
        return false;
    out = a * b;
    return true;
}

bool checkedAdd(std::uint64_t a, std::uint64_t b, std::uint64_t &out)
{
    if (b > std::numeric_limits<std::uint64_t>::max() - a)
        return false;
    out = a + b;
    return true;
}

std::uint64_t magnitude(std::int64_t value)
{
    // Well defined for the smallest value too: the negation happens in unsigned arithmetic.
    return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

} // namespace

ParseResult parseFactorText(std::string_view text)
{
    if (text.empty())
        return {std::nullopt, ParseError::Empty};
    const NumberForm form = numberForm(text);
    if (!form.valid) {
        const bool pointForm = text.find(',') == std::string_view::npos && numberForm(text, '.').valid;
        return {std::nullopt, pointForm ? ParseError::DecimalPoint : ParseError::NotANumber};
    }
    const std::string_view whole = form.whole;
    const std::string_view fraction = form.fraction;

    // The integer part, checked digit by digit so that no length of text can overflow.
    constexpr std::uint64_t kMaxWhole = kMaxRaw / kScale;
    std::uint64_t units = 0;
    for (const char c : whole) {
        const unsigned digit = digitValue(c);
        if (units > (kMaxWhole - digit) / 10)
            return {std::nullopt, ParseError::OutOfRange};
        units = units * 10 + digit;
    }

    // Four fraction digits are kept; the rest decide the rounding of the fourth.
    std::uint64_t tenThousandths = 0;
    for (std::size_t i = 0; i < 4; ++i)
        tenThousandths = tenThousandths * 10 + (i < fraction.size() ? digitValue(fraction[i]) : 0);
    std::uint64_t dropped = 0; // the dropped digits as a fraction of kScale: 5000 is exactly one half
    if (fraction.size() > 4) {
        dropped = digitValue(fraction[4]) * (kScale / 10);
        const std::string_view beyond = fraction.substr(5);
        if (beyond.find_first_not_of('0') != std::string_view::npos)
            dropped += 1; // strictly above the digit shown, so never a tie
    }
    const std::uint64_t raw = roundQuotient(units * kScale + tenThousandths, dropped);
    if (raw > kMaxRaw)
        return {std::nullopt, ParseError::OutOfRange};
    return {FixedPoint::fromRaw(static_cast<std::int64_t>(raw)), ParseError::NotANumber};
}

std::string formatFactorText(FixedPoint value)
{
    const std::uint64_t abs = magnitude(value.raw());
    std::string text = value.raw() < 0 ? "-" : "";
    text += std::to_string(abs / kScale);
    std::uint64_t fraction = abs % kScale;
    if (fraction != 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, 4 - digits.size(), '0');
        digits.erase(digits.find_last_not_of('0') + 1);
        text += ',';
        text += digits;
    }
    return text;
}

std::optional<FixedPoint> multiplyRounded(FixedPoint a, FixedPoint b)
{
    // |a| * |b| / kScale without a wider integer type: with a = a1 * kScale + a0 and likewise b,
    // the quotient is a1*b1*kScale + a1*b0 + a0*b1 + a0*b0 / kScale, each term checked.
    const std::uint64_t ua = magnitude(a.raw());
    const std::uint64_t ub = magnitude(b.raw());
    const std::uint64_t a1 = ua / kScale, a0 = ua % kScale;
    const std::uint64_t b1 = ub / kScale, b0 = ub % kScale;

    std::uint64_t quotient = 0, term = 0;
    if (!checkedMul(a1, b1, term) || !checkedMul(term, kScale, quotient))
        return std::nullopt;
    if (!checkedMul(a1, b0, term) || !checkedAdd(quotient, term, quotient))
        return std::nullopt;
    if (!checkedMul(a0, b1, term) || !checkedAdd(quotient, term, quotient))
        return std::nullopt;
    const std::uint64_t low = a0 * b0; // below kScale squared, always fits
    if (!checkedAdd(quotient, low / kScale, quotient))
        return std::nullopt;
    if (quotient == std::numeric_limits<std::uint64_t>::max())
        return std::nullopt; // rounding up could not be represented
    const std::uint64_t rounded = roundQuotient(quotient, low % kScale);

    const bool negative = (a.raw() < 0) != (b.raw() < 0);
    if (negative) {
        if (rounded > kMaxRaw + 1)
            return std::nullopt;
        return FixedPoint::fromRaw(static_cast<std::int64_t>(0 - rounded));
    }
    if (rounded > kMaxRaw)
        return std::nullopt;
    return FixedPoint::fromRaw(static_cast<std::int64_t>(rounded));
}

} // namespace engine
