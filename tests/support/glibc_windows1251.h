// glibc's converter, as a second opinion on the Windows-1251 code page: the expected bytes of a test
// are written in UTF-8 and converted here, never by the program's own table.
#pragma once

#include <optional>
#include <string>

namespace support {

// The UTF-8 text in Windows-1251; throws for a character outside the code page.
std::string cp1251(const std::string &utf8);

// The byte of one code point, or nothing when the code page lacks it.
std::optional<unsigned char> cp1251Byte(char32_t codePoint);

} // namespace support
