// Feeds arbitrary bytes to the factor-text parser, the formatter, the premium and the town search,
// and checks what must always hold: a parsed value formats back to a text that parses to the same
// value, products agree with a 128-bit reference, and nothing overflows or reads out of bounds.
#include "engine/fixed_point.h"
#include "engine/premium.h"
#include "engine/territory.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

__extension__ using Wide = __int128;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

std::optional<std::int64_t> reference(std::int64_t a, std::int64_t b)
{
    const Wide product = static_cast<Wide>(a) * b;
    Wide quotient = product / 10'000;
    const Wide remainder = product % 10'000;
    const Wide twice = 2 * (remainder < 0 ? -remainder : remainder);
    if (twice > 10'000 || (twice == 10'000 && quotient % 2 != 0))
        quotient += product < 0 ? -1 : 1;
    if (quotient > INT64_MAX || quotient < INT64_MIN)
        return std::nullopt;
    return static_cast<std::int64_t>(quotient);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);

    // Nine factor texts separated by '|', then the category and the exclusion from the first byte.
    engine::FactorTexts texts;
    std::size_t field = 0;
    for (std::size_t start = 1; start <= input.size() && field < texts.size(); ++field) {
        const std::size_t end = std::min(input.find('|', start), input.size());
        texts[field] = std::string(input.substr(start, end - start));
        start = end + 1;
    }
    const auto selector = size > 0 ? data[0] : 0u;
    const auto category = static_cast<engine::Category>(selector % 5);
    const bool excludeKp = (selector / 5) % 2 == 1;

    for (const std::string &text : texts) {
        const auto parsed = engine::parseFactorText(text);
        if (parsed) {
            check(parsed.value->raw() >= 0);
            const std::string formatted = engine::formatFactorText(*parsed.value);
            const auto again = engine::parseFactorText(formatted);
            check(again && *again.value == *parsed.value);
            for (const std::string &other : texts) {
                if (const auto second = engine::parseFactorText(other)) {
                    const auto product = engine::multiplyRounded(*parsed.value, *second.value);
                    const auto expected = reference(parsed.value->raw(), second.value->raw());
                    check(product.has_value() == expected.has_value());
                    check(!product || product->raw() == *expected);
                }
            }
        }
    }

    const auto outcome = engine::premiumFromTexts(category, excludeKp, texts);
    if (outcome.status == engine::PremiumOutcome::Status::Ok)
        check(engine::parseFactorText(engine::formatFactorText(outcome.total)).value == outcome.total);

    (void)engine::findTowns(texts[0]);
    return 0;
}
