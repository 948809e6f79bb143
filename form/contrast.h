// Whether a text reads on what lies behind it, by the WCAG contrast ratio: from 1 (the same colour) to
// 21 (black on white). The window's captions keep at least 4.5 : 1; where a desktop's colours for a
// caption bar do not, its ground is darkened (or lightened) until they do, keeping its hue.
#pragma once

namespace form {

struct Rgb {
    int red = 0, green = 0, blue = 0; // 0 to 255
    bool operator==(const Rgb &) const = default;
};

inline constexpr double kReadableContrast = 4.5;

double contrastRatio(Rgb a, Rgb b);

// The ground, moved towards black behind a light text or towards white behind a dark one in small steps
// until the text reads on it; a pair that reads already is kept as it is.
Rgb readableGround(Rgb text, Rgb ground, double ratio = kReadableContrast);

// The same for a text on a ground that stays: the text is moved away from the ground's lightness.
Rgb readableText(Rgb text, Rgb ground, double ratio = kReadableContrast);

} // namespace form
