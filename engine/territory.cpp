#include "engine/territory.h"

#include "engine/utf8.h"

#include <string>

namespace engine {

namespace {

std::u32string upperCodePoints(std::string_view text)
{
    std::u32string out = decodeUtf8(text);
    for (char32_t &c : out)
        c = upperCase(c);
    return out;
}

// True when name begins with the characters of key, compared in upper case.
bool startsWithUpper(std::string_view name, std::u32string_view key)
{
    std::size_t pos = 0;
    for (const char32_t want : key) {
        if (pos >= name.size() || upperCase(nextCodePoint(name, pos)) != want)
            return false;
    }
    return true;
}

} // namespace

std::vector<std::string_view> findTowns(std::string_view typed)
{
    std::vector<std::string_view> found;
    if (typed.empty())
        return found;
    const std::u32string key = upperCodePoints(typed);
    for (const std::string_view town : kTowns)
        if (startsWithUpper(town, key))
            found.push_back(town);
    return found;
}

} // namespace engine
