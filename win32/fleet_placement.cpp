#include "win32/fleet_placement.h"

#include <algorithm>

namespace win32 {

namespace {

// The spacing of Windows' dialogs: 11 pixels of margin, 7 between parts, buttons 23 high with room
// beside their captions, a progress bar 15 high; at 96 dots per inch.
constexpr int kMarginTwips = 165;
constexpr int kGapTwips = 105;
constexpr int kButtonHeightTwips = 345;
constexpr int kButtonPaddingTwips = 300;
constexpr int kButtonMinWidthTwips = 1125;
constexpr int kProgressTwips = 225;
constexpr int kStatusLines = 2;

} // namespace

FleetPlaces placeFleet(int width, int height, unsigned dpi, const FleetMeasures &measures)
{
    const int margin = pixels(kMarginTwips, dpi);
    const int gap = pixels(kGapTwips, dpi);
    const int inner = std::max(0, width - 2 * margin);
    const int row = measures.lineHeight + pixels(60, dpi);
    FleetPlaces places;
    places.status = {margin, margin, inner, kStatusLines * measures.lineHeight};
    int top = margin + places.status.height + gap;
    places.progress = {margin, top, inner, pixels(kProgressTwips, dpi)};
    top += places.progress.height + gap;
    const int valueLeft = margin + measures.captionWidth + gap;
    for (std::size_t line = 0; line < kSummaryLines; ++line) {
        places.captions[line] = {margin, top, measures.captionWidth, row};
        places.values[line] = {valueLeft, top, std::max(0, width - margin - valueLeft), row};
        top += row;
    }
    top += gap;

    const int buttonHeight = pixels(kButtonHeightTwips, dpi);
    const int buttonTop = height - margin - buttonHeight;
    places.more = {margin, buttonTop - gap - measures.lineHeight, inner, measures.lineHeight};
    places.list = {margin, top, inner, std::max(0, places.more.top - gap / 2 - top)};

    std::array<int, kFleetButtons> widths{};
    for (std::size_t i = 0; i < kFleetButtons; ++i)
        widths[i] = std::max(
            pixels(kButtonMinWidthTwips, dpi), measures.buttonTexts[i] + pixels(kButtonPaddingTwips, dpi));
    places.buttons[0] = {margin, buttonTop, widths[0], buttonHeight};
    places.buttons[1] = {margin + widths[0] + gap, buttonTop, widths[1], buttonHeight};
    places.buttons[3] = {width - margin - widths[3], buttonTop, widths[3], buttonHeight};
    places.buttons[2] = {places.buttons[3].left - gap - widths[2], buttonTop, widths[2], buttonHeight};
    return places;
}

} // namespace win32
