#include "engine/windows1251.h"

#include "engine/utf8.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

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

constexpr unsigned char kUnassigned = 0x98;

// The character of each byte, the unassigned one read as '?'.
constexpr std::array<char32_t, 256> kCodePoints = [] {
    std::array<char32_t, 256> table{};
    for (std::size_t b = 0; b < table.size(); ++b)
        if (b < 0x80)
            table[b] = static_cast<char32_t>(b);
        else if (b >= 0xC0)
            table[b] = static_cast<char32_t>(0x0410 + (b - 0xC0));
        else
            table[b] = b == kUnassigned ? kReplacementCharacter : kUpperHalf[b - 0x80];
    return table;
}();

// Reading: each byte's UTF-8 bytes, ready to be copied four at a time (at most three are used: the code
// page ends below U+FFFF).
struct alignas(4) Utf8OfByte {
    std::array<char, 3> bytes;
    std::uint8_t size;

    constexpr std::string_view view() const
    {
        return {bytes.data(), size};
    }
};
static_assert(sizeof(Utf8OfByte) == 4);

constexpr std::array<Utf8OfByte, 256> kUtf8Bytes = [] {
    std::array<Utf8OfByte, 256> table{};
    for (std::size_t b = 0; b < table.size(); ++b) {
        const Utf8Sequence utf8 = utf8Sequence(kCodePoints[b]);
        if (utf8.size > 3)
            throw "a character of the code page past U+FFFF";
        table[b] = {{utf8.bytes[0], utf8.bytes[1], utf8.bytes[2]}, utf8.size};
    }
    return table;
}();

// Writing: the byte of each code point on the four pages of 256 code points the code page uses, 0 for
// none: Latin-1 signs (U+00xx), Cyrillic (U+04xx), punctuation and € (U+20xx), № and ™ (U+21xx).
// kPageOf gives a page's place in the table, by the code point's upper bits; 0 for a page the code
// page does not use. A character of the code page on another page does not compile.
constexpr std::array<std::uint8_t, 0x22> kPageOf = [] {
    std::array<std::uint8_t, 0x22> places{};
    places[0x00] = 1;
    places[0x04] = 2;
    places[0x20] = 3;
    places[0x21] = 4;
    return places;
}();

constexpr auto kBytesByPage = [] {
    std::array<std::array<unsigned char, 256>, 5> pages{}; // page 0: none, all zero
    for (std::size_t b = 0x80; b < 256; ++b) {
        if (b == kUnassigned)
            continue;
        const std::uint8_t place = kPageOf.at(kCodePoints[b] >> 8);
        if (place == 0)
            throw "a character of the code page on a page without a place";
        pages[place][kCodePoints[b] & 0xFF] = static_cast<unsigned char>(b);
    }
    return pages;
}();

// The byte of a code point, or 0 when the code page has none (U+0000 itself is ASCII).
constexpr unsigned char byteOf(char32_t codePoint)
{
    if (codePoint < 0x80)
        return static_cast<unsigned char>(codePoint);
    const char32_t page = codePoint >> 8;
    return page < kPageOf.size() ? kBytesByPage[kPageOf[page]][codePoint & 0xFF] : 0;
}

// Every byte but the unassigned one survives the way to UTF-8 and back; that one reads as '?'.
static_assert([] {
    for (std::size_t b = 0; b < 256; ++b) {
        const Utf8OfByte utf8 = kUtf8Bytes[b];
        std::size_t pos = 0;
        const char32_t back = nextCodePoint(utf8.view(), pos);
        if (pos != utf8.size || back != kCodePoints[b])
            return false;
        if (b != kUnassigned && byteOf(back) != b)
            return false;
    }
    return kUtf8Bytes[kUnassigned].view() == "?";
}());
// No code point outside the code page finds a byte: C1 controls, the other Latin-1 signs, Cyrillic
// beyond U+045F, the euro's neighbours.
static_assert(byteOf(0x80) == 0 && byteOf(0x9F) == 0 && byteOf(0xBC) == 0 && byteOf(0x0400) == 0);
static_assert(byteOf(0x0460) == 0 && byteOf(0x20AB) == 0 && byteOf(0x2123) == 0 && byteOf(0x10401) == 0);

} // namespace

std::optional<unsigned char> windows1251Byte(char32_t codePoint)
{
    const unsigned char byte = byteOf(codePoint);
    if (byte == 0 && codePoint != 0)
        return std::nullopt;
    return byte;
}

void appendToWindows1251(std::string &out, std::string_view utf8)
{
    const std::size_t start = out.size();
    out.resize(start + utf8.size()); // a character never takes more bytes here than in UTF-8
    char *to = out.data() + start;
    const auto *text = reinterpret_cast<const unsigned char *>(utf8.data());
    const std::size_t size = utf8.size();
    for (std::size_t pos = 0; pos < size;) {
        const unsigned char lead = text[pos];
        if (lead < 0x80) {
            *to++ = static_cast<char>(lead);
            ++pos;
            continue;
        }
        unsigned char byte = 0;
        if (lead >= 0xC2 && lead <= 0xDF && pos + 1 < size && isContinuationByte(text[pos + 1])) {
            // Two bytes, the form of every Cyrillic letter, taken apart here without the general decoder.
            byte = byteOf(((lead & 0x1Fu) << 6) | (text[pos + 1] & 0x3Fu));
            pos += 2;
        } else {
            byte = byteOf(nextCodePoint(utf8, pos));
        }
        *to++ = byte != 0 ? static_cast<char>(byte) : '?';
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
}

void appendFromWindows1251(std::string &out, std::string_view bytes)
{
    const std::size_t start = out.size();
    // Each byte's bytes are copied four at once, for at most three of them: one byte more as room.
    out.resize(start + bytes.size() * 3 + 1);
    char *to = out.data() + start;
    for (const char byte : bytes) {
        const Utf8OfByte &utf8 = kUtf8Bytes[static_cast<unsigned char>(byte)];
        std::memcpy(to, &utf8, sizeof utf8);
        to += utf8.size;
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
}

std::string toWindows1251(std::string_view utf8)
{
    std::string out;
    appendToWindows1251(out, utf8);
    return out;
}

std::string fromWindows1251(std::string_view bytes)
{
    std::string out;
    appendFromWindows1251(out, bytes);
    return out;
}

} // namespace engine
