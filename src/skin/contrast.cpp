#include "skin/contrast.h"

#include <algorithm>
#include <cmath>

namespace kestrune {
namespace {

// One sRGB channel, 0..255, to linear light.
double Linear(std::uint8_t channel) {
  const double value = channel / 255.0;
  return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

}  // namespace

double RelativeLuminance(Rgb colour) {
  return 0.2126 * Linear(colour.r) + 0.7152 * Linear(colour.g) + 0.0722 * Linear(colour.b);
}

double ContrastRatio(Rgb ink, Rgb background) {
  const double a = RelativeLuminance(ink);
  const double b = RelativeLuminance(background);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

}  // namespace kestrune
