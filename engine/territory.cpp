#include "engine/territory.h"

#include "engine/utf8.h"

#include <string>

namespace engine {

namespace {

// Upper case of the letters a town name or a search can hold: Latin and Cyrillic, ё included.
constexpr char32_t toUpper(char32_t c)
{
    if (c >= U'a' && c <= U'z')
        return c - (U'a' - U'A');
    if (c >= U'а' && c <= U'я')
        return c - (U'а' - U'А');
    if (c >= U'ѐ' && c <= U'џ') // ѐ ё ђ ... џ
        return c - (U'ѐ' - U'Ѐ');
    return c;
}

std::u32string upperCodePoints(std::string_view text)
{
    std::u32string out = decodeUtf8(text);
    for (char32_t &c : out)
        c = toUpper(c);
    return out;
}

// True when name begins with the characters of key, compared in upper case.
bool startsWithUpper(std::string_view name, std::u32string_view key)
{
    std::size_t pos = 0;
    for (const char32_t want : key) {
        if (pos >= name.size() || toUpper(nextCodePoint(name, pos)) != want)
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
