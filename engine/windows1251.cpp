#include "engine/windows1251.h"

#include "engine/utf8.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace engine {

namespace {

// The upper half of the Windows-1251 code page, bytes 0x80 to 0xBF; 0 marks the one unassigned byte,
// 0x98. Bytes 0xC0 to 0xFF are А to я, U+0410 to U+044F, in order.
// clang-format off
constexpr std::array<char16_t, 64> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80 Ђ Ѓ ‚ ѓ „ … † ‡
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 0x88 € ‰ Љ ‹ Њ Ќ Ћ Џ
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90 ђ ‘ ’ “ ” • – —
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 0x98 (none) ™ љ › њ ќ ћ џ
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // 0xA0 nbsp Ў ў Ј ¤ Ґ ¦ §
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // 0xA8 Ё © Є « ¬ shy ® Ї
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // 0xB0 ° ± І і ґ µ ¶ ·
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // 0xB8 ё № є » ј Ѕ ѕ ї
};
// clang-format on

} // namespace

std::optional<unsigned char> windows1251Byte(char32_t codePoint)
{
    if (codePoint < 0x80)
        return static_cast<unsigned char>(codePoint);
    if (codePoint >= 0x0410 && codePoint <= 0x044F)
        return static_cast<unsigned char>(0xC0 + (codePoint - 0x0410));
    for (std::size_t i = 0; i < kUpperHalf.size(); ++i)
        if (kUpperHalf[i] != 0 && kUpperHalf[i] == codePoint)
            return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

std::string toWindows1251(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (const char32_t codePoint : decodeUtf8(utf8))
        out.push_back(static_cast<char>(windows1251Byte(codePoint).value_or('?')));
    return out;
}

std::string fromWindows1251(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        if (b < 0x80)
            out.push_back(byte);
        else if (b >= 0xC0)
            appendUtf8(out, 0x0410 + (b - 0xC0));
        else
            appendUtf8(out, kUpperHalf[b - 0x80] != 0 ? kUpperHalf[b - 0x80] : kReplacementCharacter);
    }
    return out;
}

} // namespace engine
