// UTF-8 as the window hands texts over, decoded without a locale.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace engine {

// Stands for each malformed sequence: a stray continuation byte, a truncated sequence, an overlong
// form, a surrogate, a value past U+10FFFF.
inline constexpr char32_t kReplacementCharacter = U'?';

// Decodes the character at text[pos] and moves pos past it; pos must be inside text.
char32_t nextCodePoint(std::string_view text, std::size_t &pos);

// The code points of a whole text.
std::u32string decodeUtf8(std::string_view utf8);

// True when every byte sequence of the text is well-formed UTF-8 (ASCII alone is).
bool isValidUtf8(std::string_view text);

// Appends the UTF-8 bytes of one code point.
void appendUtf8(std::string &out, char32_t codePoint);

// Upper case of the letters a town name, an entry or a column name can hold: Latin and Cyrillic,
// ё and the other letters of the Cyrillic block's first row included. Every other character is kept.
constexpr char32_t upperCase(char32_t c)
{
    if (c >= U'a' && c <= U'z')
        return c - (U'a' - U'A');
    if (c >= U'а' && c <= U'я')
        return c - (U'а' - U'А');
    if (c >= U'ѐ' && c <= U'џ') // ѐ ё ђ ... џ
        return c - (U'ѐ' - U'Ѐ');
    return c;
}

// A control character of the C0 or C1 set, DEL included: none of them belongs in a line of text.
constexpr bool isControlCharacter(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

} // namespace engine
