#include "engine/utf8.h"

namespace engine {

namespace {

// A code point written and read back, or 0xFFFFFFFF when reading took another number of bytes.
constexpr char32_t roundTrip(char32_t c)
{
    const Utf8Sequence sequence = utf8Sequence(c);
    std::size_t pos = 0;
    const char32_t back = nextCodePoint(sequence.view(), pos);
    return pos == sequence.size ? back : 0xFFFFFFFF;
}

// Every code point survives, shown at each boundary of the sequence lengths; a surrogate, which UTF-8
// cannot carry, reads back as the replacement.
static_assert(roundTrip(0) == 0 && roundTrip(0x7F) == 0x7F && roundTrip(0x80) == 0x80);
static_assert(roundTrip(0x7FF) == 0x7FF && roundTrip(0x800) == 0x800 && roundTrip(0xFFFF) == 0xFFFF);
static_assert(roundTrip(0x10000) == 0x10000 && roundTrip(0x10FFFF) == 0x10FFFF);
static_assert(roundTrip(U'Я') == U'Я' && utf8Sequence(U'Я').view() == "Я");
static_assert(roundTrip(0xD800) == kReplacementCharacter && roundTrip(0xDFFF) == kReplacementCharacter);

// The lead-byte table agrees with the encoder: ASCII stands for itself, no continuation byte leads a
// sequence, and each length's lowest code point is the first the encoder writes in that many bytes.
static_assert([] {
    for (std::size_t b = 0; b < kLeadBytes.size(); ++b) {
        const LeadByte kind = kLeadBytes[b];
        const bool continuation = isContinuationByte(static_cast<unsigned char>(b));
        if ((b < 0x80) != (kind.length == 1) || (continuation && kind.length != 0))
            return false;
        const bool firstOfLength = utf8Sequence(kind.minimum).size == kind.length
            && utf8Sequence(kind.minimum - 1).size == kind.length - 1;
        if (kind.length > 1 && !firstOfLength)
            return false;
    }
    return true;
}());

} // namespace

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

std::u32string decodeUtf8(std::string_view utf8)
{
    std::u32string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();)
        out.push_back(nextCodePoint(utf8, pos));
    return out;
}

} // namespace engine
