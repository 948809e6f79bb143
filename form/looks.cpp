#include "form/looks.h"

namespace form {

using namespace look;

TextLook textLook(unsigned looks)
{
    TextLook text;
    if (looks & kBadge) {
        text.hundredthsOfPoint = 1425;
        text.symbols = true;
    } else if (looks & kCopyright) {
        text.hundredthsOfPoint = 1350;
    } else if (looks & (kHeading | kLink)) {
        text.hundredthsOfPoint = 975;
    }
    text.bold = (looks & (kHeading | kBold | kLink)) != 0;
    text.italic = (looks & kItalic) != 0;
    return text;
}

LookColours lookColours(unsigned looks)
{
    LookColours colours;
    if (looks & kGreyStrip)
        colours = {LookColour::ButtonShadow, LookColour::HighlightText};
    if (looks & kDarkStrip)
        colours = {LookColour::ApplicationWorkspace, LookColour::HighlightText};
    if (looks & (kDarkBackground | kLink))
        colours.ground = LookColour::ApplicationWorkspace;
    if (looks & kLink)
        colours.text = LookColour::Highlight;
    if (looks & kGreyBackground)
        colours.ground = LookColour::InactiveBorder;
    if (looks & kYellow)
        colours.ground = LookColour::Yellow;
    if (looks & kCyan)
        colours.ground = LookColour::Cyan;
    if (looks & kRedText)
        colours.text = LookColour::Red;
    return colours;
}

std::optional<Rgb> fixedColour(LookColour colour)
{
    switch (colour) {
    case LookColour::Yellow:
        return Rgb{255, 255, 0};
    case LookColour::Cyan:
        return Rgb{192, 255, 255};
    case LookColour::Red:
        return Rgb{255, 0, 0};
    default:
        return std::nullopt;
    }
}

} // namespace form
