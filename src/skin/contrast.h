// Contrast between a text colour and the colour it is drawn on, as WCAG 2 measures it: the ratio
// of the relative luminances of the two sRGB colours, each lightened by 0.05, from 1 to 21.
#pragma once

#include <cstdint>

namespace kestrune {

struct Rgb {
  std::uint8_t r, g, b;
  friend constexpr bool operator==(Rgb, Rgb) = default;
};

// The relative luminance of an sRGB colour, 0 for black to 1 for white.
double RelativeLuminance(Rgb colour);

// The lighter colour's luminance + 0.05 over the darker one's + 0.05; the order does not matter.
double ContrastRatio(Rgb ink, Rgb background);

// The least contrast at which ordinary text reads well (WCAG 2, level AA).
inline constexpr double kReadableContrast = 4.5;

}  // namespace kestrune
