#include "engine/territory.h"

#include <string>

namespace engine {

namespace {

// Decodes one UTF-8 character at text[pos] and advances pos. A malformed byte decodes as a value
// above the Unicode range of its own, so it equals nothing a town name holds.
char32_t nextCodePoint(std::string_view text, std::size_t &pos)
{
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned char>(text[i]);
    };
    const unsigned char lead = byte(pos);
    std::size_t length = 1;
    char32_t cp = lead;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07u;
    } else if (lead >= 0x80) {
        ++pos;
        return 0x110000u + lead;
    }
    if (pos + length > text.size()) {
        ++pos;
        return 0x110000u + lead;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0u) != 0x80u) {
            ++pos;
            return 0x110000u + lead;
        }
        cp = (cp << 6) | (byte(pos + i) & 0x3Fu);
    }
    pos += length;
    return cp;
}

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
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();)
        out.push_back(toUpper(nextCodePoint(text, pos)));
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
