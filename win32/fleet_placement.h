// Where the Windows fleet window puts its parts in a client area of any size, at a screen's dots per
// inch: the status line, the progress bar, the summary's captions and values, the rejected rows' list
// with the line below it, and the buttons along the bottom. Plain C++, so that it is tested without
// Windows; the window measures its texts and hands the sizes in.
#pragma once

#include "win32/placement.h"

#include <array>
#include <cstddef>

namespace win32 {

inline constexpr std::size_t kSummaryLines = 4;
inline constexpr std::size_t kFleetButtons = 4; // choose and stop on the left, open and show on the right

// The client area the window opens with, and the least it may be shrunk to, in twips.
inline constexpr int kFleetWidthTwips = 10200;
inline constexpr int kFleetHeightTwips = 7200;
inline constexpr int kFleetMinWidthTwips = 7200;
inline constexpr int kFleetMinHeightTwips = 5400;

// What the window measured in its font.
struct FleetMeasures {
    int lineHeight = 0;                           // one line of text
    int captionWidth = 0;                         // the widest summary caption
    std::array<int, kFleetButtons> buttonTexts{}; // each button's caption
};

struct FleetPlaces {
    PixelRect status;
    PixelRect progress;
    std::array<PixelRect, kSummaryLines> captions;
    std::array<PixelRect, kSummaryLines> values;
    PixelRect list;
    PixelRect more;
    std::array<PixelRect, kFleetButtons> buttons;
};

FleetPlaces placeFleet(int width, int height, unsigned dpi, const FleetMeasures &measures);

} // namespace win32
