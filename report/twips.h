// Twips, the unit of the window's layout and of the document report: 1/1440 inch. A pixel of a
// 96 dpi screen is 15 twips, which is how the window places its controls and how the document sizes its
// picture.
#pragma once

namespace report {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTwipsPerPixel = kTwipsPerInch / 96;
static_assert(kTwipsPerPixel == 15);

constexpr int twipsOfCentimetres(double centimetres)
{
    return static_cast<int>(centimetres * kTwipsPerInch / 2.54 + 0.5);
}
static_assert(
    twipsOfCentimetres(3.0) == 1701 && twipsOfCentimetres(1.5) == 850 && twipsOfCentimetres(2.0) == 1134);

} // namespace report
