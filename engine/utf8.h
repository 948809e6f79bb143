// UTF-8 as the window hands texts over, decoded without a locale.
//
// Decoding is driven by the table of lead bytes below, encoding by the code point's range; both are
// constexpr and inline, so the batch's loops over cells convert without a call per character.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace engine {

// Stands for each malformed sequence: a stray continuation byte, a truncated sequence, an overlong
// form, a surrogate, a value past U+10FFFF.
inline constexpr char32_t kReplacementCharacter = U'?';

// What a byte says when a sequence starts with it: how many bytes the sequence has (0: the byte cannot
// start one), the bits of the code point it holds, and the lowest code point of that length, below
// which the form is overlong.
struct LeadByte {
    std::uint8_t length;
    std::uint8_t payloadMask;
    char32_t minimum;
};

// C0 and C1 would only lead overlong two-byte forms, F5 to FF values past U+10FFFF: none leads.
inline constexpr std::array<LeadByte, 256> kLeadBytes = [] {
    std::array<LeadByte, 256> table{};
    for (std::size_t b = 0; b < 0x80; ++b)
        table[b] = {1, 0x7F, 0};
    for (std::size_t b = 0xC2; b <= 0xDF; ++b)
        table[b] = {2, 0x1F, 0x80};
    for (std::size_t b = 0xE0; b <= 0xEF; ++b)
        table[b] = {3, 0x0F, 0x800};
    for (std::size_t b = 0xF0; b <= 0xF4; ++b)
        table[b] = {4, 0x07, 0x10000};
    return table;
}();

constexpr bool isContinuationByte(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Decodes the character at text[pos] and moves pos past it; pos must be inside text. A malformed
// sequence is one kReplacementCharacter; it takes its lead byte and the continuation bytes that follow,
// up to the length the lead byte announces.
constexpr char32_t nextCodePoint(std::string_view text, std::size_t &pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    const LeadByte kind = kLeadBytes[lead];
    if (kind.length == 1) {
        ++pos;
        return lead;
    }
    if (kind.length == 0) { // a continuation byte without a lead, C0, C1 or F5 to FF
        ++pos;
        return kReplacementCharacter;
    }
    char32_t value = lead & kind.payloadMask;
    std::size_t taken = 1;
    while (taken < kind.length && pos + taken < text.size()
        && isContinuationByte(static_cast<unsigned char>(text[pos + taken]))) {
        value = (value << 6) | (static_cast<unsigned char>(text[pos + taken]) & 0x3Fu);
        ++taken;
    }
    pos += taken;
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    if (taken != kind.length || value < kind.minimum || surrogate || value > 0x10FFFF)
        return kReplacementCharacter;
    return value;
}

// The code points of a whole text.
std::u32string decodeUtf8(std::string_view utf8);

// True when every byte sequence of the text is well-formed UTF-8 (ASCII alone is).
bool isValidUtf8(std::string_view text);

// The UTF-8 bytes of one code point, one to four of them.
struct Utf8Sequence {
    std::array<char, 4> bytes{};
    std::uint8_t size = 0;

    constexpr std::string_view view() const
    {
        return {bytes.data(), size};
    }
};

constexpr Utf8Sequence utf8Sequence(char32_t c)
{
    const auto byte = [](char32_t bits) {
        return static_cast<char>(static_cast<unsigned char>(bits));
    };
    if (c < 0x80)
        return {{byte(c)}, 1};
    if (c < 0x800)
        return {{byte(0xC0 | (c >> 6)), byte(0x80 | (c & 0x3F))}, 2};
    if (c < 0x10000)
        return {{byte(0xE0 | (c >> 12)), byte(0x80 | ((c >> 6) & 0x3F)), byte(0x80 | (c & 0x3F))}, 3};
    return {{byte(0xF0 | (c >> 18)),
                byte(0x80 | ((c >> 12) & 0x3F)),
                byte(0x80 | ((c >> 6) & 0x3F)),
                byte(0x80 | (c & 0x3F))},
        4};
}

// Appends the UTF-8 bytes of one code point.
inline void appendUtf8(std::string &out, char32_t codePoint)
{
    const Utf8Sequence sequence = utf8Sequence(codePoint);
    out.append(sequence.bytes.data(), sequence.size);
}

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
