// Colours as the design keeps them, 0x00BBGGRR (the layout of the platform's COLORREF), so each
// goes straight into a brush, a pen or a text colour; and the named colours the controls use.
#pragma once

#include <cstdint>

namespace kestrune {

using Color = std::uint32_t;  // 0x00BBGGRR

constexpr Color RgbColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return Color(red) | (Color(green) << 8) | (Color(blue) << 16);
}
constexpr std::uint8_t RedOf(Color color) {
  return std::uint8_t(color & 0xFF);
}
constexpr std::uint8_t GreenOf(Color color) {
  return std::uint8_t((color >> 8) & 0xFF);
}
constexpr std::uint8_t BlueOf(Color color) {
  return std::uint8_t((color >> 16) & 0xFF);
}

inline constexpr Color kClBlack = RgbColor(0, 0, 0);
inline constexpr Color kClOlive = RgbColor(128, 128, 0);
inline constexpr Color kClSilver = RgbColor(192, 192, 192);
inline constexpr Color kClWhite = RgbColor(255, 255, 255);

}  // namespace kestrune
