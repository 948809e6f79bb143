// The Windows-1251 code page, in which the text report is written and Russian spreadsheets save their
// files, and UTF-8 as the window holds text. No locale and no iconv: the code page
// is a table here, so the report is the same on every machine.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace engine {

// The Windows-1251 byte of a code point, or nothing when the code page has no such character.
std::optional<unsigned char> windows1251Byte(char32_t codePoint);

// A UTF-8 text in Windows-1251: ASCII as it is, Cyrillic and the code page's signs as their bytes,
// every other character (and every malformed sequence) as '?'.
std::string toWindows1251(std::string_view utf8);

// Windows-1251 text as UTF-8; the one unassigned byte, 0x98, becomes '?'.
std::string fromWindows1251(std::string_view bytes);

// The same two, appended to out: for a caller that keeps one buffer from text to text.
void appendToWindows1251(std::string &out, std::string_view utf8);
void appendFromWindows1251(std::string &out, std::string_view bytes);

} // namespace engine
