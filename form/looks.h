// What a control's looks (look::k... of the inventory) ask of its text and colours, for each front to
// draw in its own way: the font's size and style, and the colours by the system colour each is named
// after in the window's description, which a front maps to its own (Windows' GetSysColor, the Qt
// window's fixed palette), or the window's own yellow, cyan and red, which are the same everywhere.
#pragma once

#include "form/contrast.h"
#include "form/inventory.h"

#include <optional>

namespace form {

// The looks that change a control's font; a control with none of them keeps the window's own.
inline constexpr unsigned kFontLooks
    = look::kHeading | look::kBold | look::kItalic | look::kLink | look::kBadge | look::kCopyright;

struct TextLook {
    int hundredthsOfPoint = 825; // 8.25 pt
    bool bold = false;
    bool italic = false;
    bool symbols = false; // a step badge's character, from a font of symbols
};

TextLook textLook(unsigned looks);

enum class LookColour {
    Default, // the control's own: the window's grey, a field's white, the window's text
    ButtonShadow,
    ApplicationWorkspace,
    HighlightText,
    Highlight, // a link's text
    InactiveBorder,
    Yellow,
    Cyan,
    Red,
};

struct LookColours {
    LookColour ground = LookColour::Default;
    LookColour text = LookColour::Default;
};

LookColours lookColours(unsigned looks);

// The colour of the window's own yellow, cyan and red; nothing for the colours a front takes from its
// system.
std::optional<Rgb> fixedColour(LookColour colour);

} // namespace form
