// RTF as the document report writes it: Windows-1251 as the ANSI code page, every non-ASCII character
// as a Unicode escape with a one-byte fallback, the fonts and the one colour in tables, the A4 page
// with its margins, and the picture as PNG data inside the first paragraph.
#include "report/rtf_writer.h"

#include "engine/utf8.h"
#include "engine/windows1251.h"
#include "report/twips.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace report {

namespace {

// The font table, in this order; \deff0 makes Times New Roman the default, as in a new document.
constexpr std::array<std::string_view, 3> kFonts = {kTimesNewRoman, kTahoma, kBadgeFont};

std::size_t fontIndex(std::string_view name)
{
    for (std::size_t i = 0; i < kFonts.size(); ++i)
        if (kFonts[i] == name)
            return i;
    return 0;
}

void appendNumber(std::string &out, long value)
{
    out += std::to_string(value);
}

// Control words of a character format, after \plain has reset it.
void appendFormat(std::string &out, const CharFormat &format)
{
    out += "\\f";
    appendNumber(out, static_cast<long>(fontIndex(format.font)));
    out += "\\fs";
    appendNumber(out, format.points * 2);
    if (format.bold)
        out += "\\b";
    if (format.italic)
        out += "\\i";
    if (format.blue)
        out += "\\cf1";
}

void appendUnicodeEscape(std::string &out, char32_t unit, char fallback)
{
    // \uN takes a signed 16-bit number; the fallback is what a reader without Unicode shows.
    const long value = unit > 0x7FFF ? static_cast<long>(unit) - 0x10000 : static_cast<long>(unit);
    out += "\\u";
    appendNumber(out, value);
    if (fallback == '?') {
        out += '?';
    } else {
        static constexpr char kHex[] = "0123456789abcdef";
        const auto byte = static_cast<unsigned char>(fallback);
        out += "\\'";
        out += kHex[byte >> 4];
        out += kHex[byte & 0x0F];
    }
}

// Text of a run. Field texts are the user's, so the three RTF-special characters are escaped and
// control characters (which a line of the report cannot hold) become '?', as in the text report.
void appendText(std::string &out, std::string_view utf8)
{
    for (const char32_t c : engine::decodeUtf8(utf8)) {
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (engine::isControlCharacter(c)) {
            out += '?';
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c > 0xFFFF) { // outside the Basic Multilingual Plane: a UTF-16 surrogate pair
            const char32_t v = c - 0x10000;
            appendUnicodeEscape(out, 0xD800 + (v >> 10), '?');
            appendUnicodeEscape(out, 0xDC00 + (v & 0x3FF), '?');
        } else {
            const std::optional<unsigned char> byte = engine::windows1251Byte(c);
            appendUnicodeEscape(out, c, byte ? static_cast<char>(*byte) : '?');
        }
    }
}

struct PngSize {
    long width = 0;
    long height = 0;
};

// Width and height from the PNG header (signature, then the IHDR chunk).
std::optional<PngSize> pngSize(const std::string &png)
{
    static constexpr std::string_view kSignature = "\x89PNG\r\n\x1A\n";
    if (png.size() < 24 || png.compare(0, kSignature.size(), kSignature) != 0
        || png.compare(12, 4, "IHDR") != 0)
        return std::nullopt;
    const auto bigEndian = [&png](std::size_t at) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i)
            value = (value << 8) | static_cast<unsigned char>(png[at + i]);
        return static_cast<long>(value);
    };
    const PngSize size{bigEndian(16), bigEndian(20)};
    if (size.width <= 0 || size.height <= 0 || size.width > 10000 || size.height > 10000)
        return std::nullopt;
    return size;
}

void appendPicture(std::string &out, const std::string &png)
{
    const std::optional<PngSize> size = pngSize(png);
    if (!size)
        return;
    out += "{\\pict\\pngblip\\picw";
    appendNumber(out, size->width);
    out += "\\pich";
    appendNumber(out, size->height);
    out += "\\picwgoal";
    appendNumber(out, size->width * kTwipsPerPixel);
    out += "\\pichgoal";
    appendNumber(out, size->height * kTwipsPerPixel);
    static constexpr char kHex[] = "0123456789abcdef";
    for (std::size_t i = 0; i < png.size(); ++i) {
        if (i % 64 == 0)
            out += '\n';
        const auto byte = static_cast<unsigned char>(png[i]);
        out += kHex[byte >> 4];
        out += kHex[byte & 0x0F];
    }
    out += "}";
}

constexpr std::string_view alignmentWord(Alignment alignment)
{
    switch (alignment) {
    case Alignment::Centre:
        return "\\qc";
    case Alignment::Right:
        return "\\qr";
    case Alignment::Left:
        break;
    }
    return "\\ql";
}

} // namespace

std::string toRtf(const Document &document, const std::string &pngBytes)
{
    std::string out;
    out.reserve(8192 + pngBytes.size() * 2);
    out += "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049\\uc1\n{\\fonttbl";
    for (std::size_t i = 0; i < kFonts.size(); ++i) {
        out += "{\\f";
        appendNumber(out, static_cast<long>(i));
        out += kFonts[i] == kTimesNewRoman ? "\\froman" : "\\fswiss";
        out += kFonts[i] == kBadgeFont ? "\\fprq2\\fcharset0 " : "\\fprq2\\fcharset204 ";
        out += kFonts[i];
        out += ";}";
    }
    out += "}\n{\\colortbl;\\red0\\green0\\blue255;}\n";
    // A4, margins left 3 cm, right 1.5 cm, top and bottom 2 cm.
    out += "\\paperw11906\\paperh16838\\margl";
    appendNumber(out, twipsOfCentimetres(3.0));
    out += "\\margr";
    appendNumber(out, twipsOfCentimetres(1.5));
    out += "\\margt";
    appendNumber(out, twipsOfCentimetres(2.0));
    out += "\\margb";
    appendNumber(out, twipsOfCentimetres(2.0));
    out += "\n";

    for (std::size_t p = 0; p < document.size(); ++p) {
        const Paragraph &paragraph = document[p];
        out += "\\pard\\plain";
        out += alignmentWord(paragraph.alignment);
        for (const Run &run : paragraph.runs) {
            out += '{';
            appendFormat(out, run.format);
            if (run.picture) {
                appendPicture(out, pngBytes);
            } else {
                out += ' ';
                appendText(out, run.text);
            }
            out += '}';
        }
        // The mark's format; the last paragraph has no mark of its own to write.
        out += "\\plain";
        appendFormat(out, paragraph.mark);
        out += p + 1 < document.size() ? "\\par\n" : "\n";
    }
    out += "}\n";
    return out;
}

} // namespace report
