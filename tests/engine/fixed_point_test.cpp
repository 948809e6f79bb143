#include "engine/fixed_point.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <string>

using engine::FixedPoint;
using engine::formatFactorText;
using engine::multiplyRounded;
using engine::ParseError;
using engine::parseFactorText;

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

FixedPoint raw(std::int64_t value)
{
    return FixedPoint::fromRaw(value);
}

} // namespace

TEST(FactorText, ParsesTheFactorTextForm)
{
    struct Case {
        const char *text;
        std::int64_t raw;
    };
    // clang-format off
    const Case cases[] = {
        {"0", 0}, {"0,7", 7'000}, {"1,55", 15'500}, {"2375", 23'750'000}, {"0,0001", 1}, {"1,0", 10'000},
        {"0002375", 23'750'000}, {"922337203685477,5807", kMax},
        // Leading zeros never count towards the range, however many there are.
        {"0000000000000000000000000000000000000001", 10'000},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const auto parsed = parseFactorText(c.text);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed.value->raw(), c.raw);
    }
}

TEST(FactorText, RejectsEveryOtherFormAndSaysWhy)
{
    struct Case {
        std::string text;
        ParseError error;
    };
    // clang-format off
    const Case cases[] = {
        {"", ParseError::Empty}, {"1.5", ParseError::DecimalPoint}, {"2375.00", ParseError::DecimalPoint},
        {".5", ParseError::NotANumber}, {",", ParseError::NotANumber}, {"1,", ParseError::NotANumber},
        {",5", ParseError::NotANumber}, {"1,2,3", ParseError::NotANumber}, {"1,5.0", ParseError::NotANumber},
        {" 1", ParseError::NotANumber}, {"1 ", ParseError::NotANumber}, {"1 000", ParseError::NotANumber},
        {"-1", ParseError::NotANumber}, {"+1", ParseError::NotANumber}, {"1e3", ParseError::NotANumber},
        {"abc", ParseError::NotANumber},
        {"١", ParseError::NotANumber}, // a digit, but not a decimal digit of the factor text
        {std::string("1\0", 2), ParseError::NotANumber}, {"922337203685478", ParseError::OutOfRange},
        {"922337203685477,5808", ParseError::OutOfRange}, {std::string(1000, '9'), ParseError::OutOfRange},
        {std::string(1000, '9') + ",5", ParseError::OutOfRange},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const auto parsed = parseFactorText(c.text);
        EXPECT_FALSE(parsed);
        EXPECT_EQ(parsed.error, c.error);
    }
}

TEST(FactorText, RoundsFractionDigitsBeyondTheFourthTiesToEven)
{
    struct Case {
        std::string text;
        std::int64_t raw;
    };
    // clang-format off
    const Case cases[] = {
        {"1,23455", 12'346},     // tie, odd fourth digit goes up
        {"1,23445", 12'344},     // tie, even fourth digit stays
        {"1,234450001", 12'345}, // above the tie
        {"1,23444999", 12'344}, {"0,00005", 0}, {"0,00015", 2},
        {"0,99995", 10'000}, // the carry reaches the integer part
        {"922337203685477,58065", kMax - 1},
        {"0," + std::string(5000, '0') + "1", 0}, // any number of fraction digits, no overflow
        {"1," + std::string(5000, '9'), 20'000},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.substr(0, 24));
        const auto parsed = parseFactorText(c.text);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed.value->raw(), c.raw);
    }
    const auto carriedOut = parseFactorText("922337203685477,58075");
    EXPECT_FALSE(carriedOut);
    EXPECT_EQ(carriedOut.error, ParseError::OutOfRange);
}

TEST(FactorText, FormatsWithDecimalCommaAndNoTrailingZeros)
{
    struct Case {
        std::int64_t raw;
        const char *text;
    };
    // clang-format off
    const Case cases[] = {
        {0, "0"}, {5'000, "0,5"}, {1, "0,0001"}, {10, "0,001"}, {25'740'000, "2574"}, {24'453'000, "2445,3"},
        {17'434'187, "1743,4187"}, {25'225'200, "2522,52"}, {-5'000, "-0,5"}, {-25'740'000, "-2574"},
        {kMax, "922337203685477,5807"}, {kMin, "-922337203685477,5808"},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(formatFactorText(raw(c.raw)), c.text);
    }
}

TEST(FactorText, CanonicalTextsSurviveARoundTrip)
{
    for (const char *text :
        {"0", "1", "0,7", "1,55", "0,0001", "2445,3", "1743,4187", "922337203685477,5807"}) {
        SCOPED_TRACE(text);
        const auto parsed = parseFactorText(text);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(formatFactorText(*parsed.value), text);
    }
}

TEST(Multiplication, RoundsEachProductToFourDecimalsTiesToEven)
{
    struct Case {
        std::int64_t a, b, product;
    };
    // clang-format off
    const Case cases[] = {
        {21'657'375, 11'500, 24'905'981}, // 2165,7375 × 1,15 = 2490,598125
        {24'905'981, 5'000, 12'452'990},  // 1245,29905: tie, 0 is even
        {24'905'983, 5'000, 12'452'992},  // 1245,29915: tie, 1 goes up to 2
        {24'905'985, 5'000, 12'452'992},  // 1245,29925: tie, 2 stays
        {24'905'987, 5'000, 12'452'994},  // 1245,29935: tie, 3 goes up to 4
        {1, 5'000, 0},                    // 0,00005
        {3, 5'000, 2},                    // 0,00015
        {1, 5'001, 1},                    // just above the tie
        {-1, 5'000, 0}, {-3, 5'000, -2}, {-3, -5'000, 2},
        {19'800'000, 20'000, 39'600'000}, // 1980 × 2
        {0, kMax, 0}, {kMax, 10'000, kMax}, {kMin, 10'000, kMin},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.a) + " x " + std::to_string(c.b));
        const auto product = multiplyRounded(raw(c.a), raw(c.b));
        ASSERT_TRUE(product);
        EXPECT_EQ(product->raw(), c.product);
        const auto swapped = multiplyRounded(raw(c.b), raw(c.a));
        ASSERT_TRUE(swapped);
        EXPECT_EQ(swapped->raw(), c.product);
    }
}

TEST(Multiplication, ReportsProductsBeyondTheRangeInsteadOfWrapping)
{
    EXPECT_FALSE(multiplyRounded(raw(kMax), raw(20'000)));
    EXPECT_FALSE(multiplyRounded(raw(kMin), raw(-10'000)));
    EXPECT_FALSE(multiplyRounded(raw(kMax), raw(kMax)));
    EXPECT_FALSE(multiplyRounded(raw(kMin), raw(kMin)));
    EXPECT_FALSE(multiplyRounded(raw(kMax), raw(10'001)));
}

// Checks the decomposed 64-bit multiplication against a 128-bit reference over a spread of
// magnitudes, signs and ties.
TEST(Multiplication, AgreesWithAWideReference)
{
    __extension__ using Wide = __int128;
    const auto reference = [](std::int64_t a, std::int64_t b) -> std::optional<std::int64_t> {
        const Wide product = static_cast<Wide>(a) * b;
        Wide quotient = product / 10'000;
        Wide remainder = product % 10'000;
        const Wide twice = 2 * (remainder < 0 ? -remainder : remainder);
        const bool odd = quotient % 2 != 0;
        if (twice > 10'000 || (twice == 10'000 && odd))
            quotient += product < 0 ? -1 : 1;
        if (quotient > kMax || quotient < kMin)
            return std::nullopt;
        return static_cast<std::int64_t>(quotient);
    };
    std::mt19937_64 random(20030507);
    for (int i = 0; i < 200'000; ++i) {
        const int bitsA = static_cast<int>(random() % 64), bitsB = static_cast<int>(random() % 64);
        auto a = static_cast<std::int64_t>(random() >> (63 - bitsA) >> 1);
        auto b = static_cast<std::int64_t>(random() >> (63 - bitsB) >> 1);
        if (random() % 2)
            a = -a;
        if (random() % 2)
            b = -b;
        if (i % 7 == 0)
            b = 5'000; // plenty of exact ties
        const auto expected = reference(a, b);
        const auto actual = multiplyRounded(raw(a), raw(b));
        ASSERT_EQ(actual.has_value(), expected.has_value()) << a << " x " << b;
        if (expected) {
            ASSERT_EQ(actual->raw(), *expected) << a << " x " << b;
        }
    }
}

TEST(Addition, IsExactUpToTheRangeAndReportsWhatLiesBeyond)
{
    struct Case {
        std::int64_t a, b;
        std::optional<std::int64_t> sum;
    };
    // clang-format off
    const Case cases[] = {
        {kMax, 0, kMax}, {kMax, 1, std::nullopt}, {kMax, kMax, std::nullopt}, {kMin, -1, std::nullopt},
        {kMin, kMin, std::nullopt}, {kMin, kMax, -1}, {kMax, -1, kMax - 1}, {-5, 3, -2}, {1'234, 5'678, 6'912},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.a) + " + " + std::to_string(c.b));
        for (const auto &[a, b] : {std::pair{c.a, c.b}, std::pair{c.b, c.a}}) {
            const auto sum = engine::addExact(raw(a), raw(b));
            EXPECT_EQ(sum.has_value(), c.sum.has_value());
            if (sum && c.sum) {
                EXPECT_EQ(sum->raw(), *c.sum);
            }
        }
    }

    // A total that overflowed stays unknown, even when what follows would bring it back into range.
    engine::FixedPointTotal total;
    total.add(raw(kMax - 10));
    total.add(raw(10));
    EXPECT_EQ(total.value(), raw(kMax));
    total.add(raw(1));
    total.add(raw(-5));
    EXPECT_FALSE(total.value());
}
