#include "engine/utf8.h"

namespace engine {

namespace {

constexpr bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

} // namespace

char32_t nextCodePoint(std::string_view text, std::size_t &pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1Fu;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0Fu;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07u;
        minimum = 0x10000;
    } else { // a continuation byte without a lead, C0, C1 or F5 to FF
        ++pos;
        return kReplacementCharacter;
    }
    std::size_t taken = 1;
    while (taken < length && pos + taken < text.size()
        && isContinuation(static_cast<unsigned char>(text[pos + taken]))) {
        value = (value << 6) | (static_cast<unsigned char>(text[pos + taken]) & 0x3Fu);
        ++taken;
    }
    pos += taken;
    const bool complete = taken == length;
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    if (!complete || value < minimum || surrogate || value > 0x10FFFF)
        return kReplacementCharacter;
    return value;
}

bool isValidUtf8(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        const bool ascii = static_cast<unsigned char>(text[pos]) < 0x80;
        // A sequence with a lead byte never decodes to the ASCII replacement unless it is malformed.
        if (nextCodePoint(text, pos) == kReplacementCharacter && !ascii)
            return false;
    }
    return true;
}

void appendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::u32string decodeUtf8(std::string_view utf8)
{
    std::u32string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();)
        out.push_back(nextCodePoint(utf8, pos));
    return out;
}

} // namespace engine
