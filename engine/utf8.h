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

// A control character of the C0 or C1 set, DEL included: none of them belongs in a line of text.
constexpr bool isControlCharacter(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

} // namespace engine
