// The document report as data: paragraphs of formatted runs, the picture among them, as the composer
// builds them and the RTF writer writes them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace report {

inline constexpr std::string_view kTimesNewRoman = "Times New Roman";
inline constexpr std::string_view kTahoma = "Tahoma";
// The step badges are the Unicode dingbats "❶" to "❾"; this font has them on every machine the
// program is built on, and word processors fall back to a font of their own where it is missing.
inline constexpr std::string_view kBadgeFont = "DejaVu Sans";

enum class Alignment { Left, Centre, Right };

struct CharFormat {
    std::string_view font = kTimesNewRoman; // a new document's defaults
    int points = 12;
    bool bold = false;
    bool italic = false;
    bool blue = false; // blue (0, 0, 255), else the automatic colour
    bool operator==(const CharFormat &) const = default;
};

struct Run {
    std::string text; // UTF-8; empty for the picture
    CharFormat format;
    bool picture = false;
};

struct Paragraph {
    Alignment alignment = Alignment::Left;
    std::vector<Run> runs;
    CharFormat mark; // the format of the paragraph mark, which sets the height of an empty paragraph
    std::string text() const;
};

using Document = std::vector<Paragraph>;

} // namespace report
