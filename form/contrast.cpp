#include "form/contrast.h"

#include <algorithm>
#include <cmath>

namespace form {

namespace {

double luminance(Rgb colour)
{
    const auto channel = [](int value) {
        const double v = value / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.red) + 0.7152 * channel(colour.green) + 0.0722 * channel(colour.blue);
}

// A twentieth of the way from colour towards black (lighter = false) or white.
Rgb step(Rgb colour, bool lighter)
{
    const auto move = [lighter](int value) {
        const int target = lighter ? 255 : 0;
        const int moved = value + (target - value) / 20;
        return moved == value ? target : moved;
    };
    return {move(colour.red), move(colour.green), move(colour.blue)};
}

// Moves one colour of a pair away from the other's lightness until the pair reads, or the other way
// when that way ends at black or white before it reads.
Rgb moved(Rgb moving, Rgb fixed, double ratio)
{
    const auto away = [&](bool lighter) {
        Rgb colour = moving;
        for (int i = 0; i < 100 && contrastRatio(colour, fixed) < ratio; ++i)
            colour = step(colour, lighter);
        return colour;
    };
    const bool lighter = luminance(moving) > luminance(fixed);
    const Rgb first = away(lighter);
    return contrastRatio(first, fixed) >= ratio ? first : away(!lighter);
}

} // namespace

double contrastRatio(Rgb a, Rgb b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb readableGround(Rgb text, Rgb ground, double ratio)
{
    return moved(ground, text, ratio);
}

Rgb readableText(Rgb text, Rgb ground, double ratio)
{
    return moved(text, ground, ratio);
}

} // namespace form
