// The hint balloon's rules that need no operating system: its settings, its size and placement,
// the shapes of its body, tail and shadow rings, the rows of its gradient, its border, and the
// pixels of the per-pixel-alpha image with the opacities of its fade-in.
//
// Two colour forms are used, never mixed:
// - Color: a colour as the settings keep it, 0x00BBGGRR (the layout of the platform's COLORREF),
//   so it goes straight into a brush or a pen.
// - Bgra: one pixel of a 32-bit top-down DIB section, bytes in memory order blue, green, red,
//   alpha; use ToBgra and ToColor to cross between the two.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "controls/design_colors.h"

namespace kestrune {

struct Bgra {
  std::uint8_t b = 0, g = 0, r = 0, a = 0;
  bool operator==(const Bgra&) const = default;
};
static_assert(sizeof(Bgra) == 4);

constexpr Bgra ToBgra(Color color, std::uint8_t alpha = 0) {
  return {BlueOf(color), GreenOf(color), RedOf(color), alpha};
}
constexpr Color ToColor(Bgra pixel) {
  return RgbColor(pixel.r, pixel.g, pixel.b);
}

// Window geometry in pixels. Rectangles leave out their right and bottom edges, as the platform's
// RECT does.
struct HintPoint {
  int x = 0, y = 0;
  bool operator==(const HintPoint&) const = default;
};
struct HintSize {
  int width = 0, height = 0;
  bool operator==(const HintSize&) const = default;
};
struct HintRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const HintRect&) const = default;
};

// The hint manager's timing, in milliseconds, and the fade-in's steps.
inline constexpr int kHintPauseMs = 500;       // before the first hint
inline constexpr int kHintShortPauseMs = 200;  // moving to another control while a hint shows
inline constexpr int kHintHidePauseMs = 5000;  // the hint goes after this
inline constexpr int kHintFadeSteps = 31;
inline constexpr int kHintFadeStepPauseMs = 8;

// The balloon styles; the main window uses the comic balloon only.
enum class THintStyle : std::uint8_t { hsComics, hsEllipse };

// The balloon's appearance. Members start at the class defaults; those the main window sets and
// whose class default plays no part in this system start at zero or empty.
struct HintKind {
  THintStyle style = THintStyle::hsEllipse;
  int radius = 20;      // corner ellipse width and height of the body
  int bevel_width = 1;  // added to the margins; a border is drawn when above 0
  int ex_offset = 32;   // height of the band that holds the tail
  int margin_h = 15;    // text margins inside the body
  int margin_v = 10;
  int max_width = 200;  // the text wraps at this width
  Color color = 0;      // the body's colour where no gradient is painted
  int gradient_percent = 0;
  std::string gradient_data;  // see ParseGradientData
  int texture_percent = 0;
  Color color_border_top = 0;     // top and left sides
  Color color_border_bottom = 0;  // bottom and right sides
  int transparency = 0;           // percent, of the whole balloon
  bool shadow_enabled = false;
  int shadow_offset = 0;        // right and down, in pixels
  int shadow_blur = 0;          // shadow rings minus one
  int shadow_transparency = 0;  // percent
  std::string font_name;
  int font_height = 0;  // a LOGFONT height: negative for the character height
  Color font_color = 0;
};

// The main window's balloon: a comic balloon in Tahoma 8, light yellow fading to white, with an
// olive and black border, a soft shadow and 5 % transparency.
HintKind MainWindowHintKind();

// Space the shadow takes at the right and at the bottom of the window.
int ShadowSpace(const HintKind& kind);

// The window's size for text measured (word-wrapped at max_width, centred) at this size.
HintSize HintWindowSize(HintSize text, const HintKind& kind);

// The window corner that holds the tail; the tail points at the anchor from there.
enum class TailCorner : std::uint8_t { kTopLeft, kTopRight, kBottomLeft, kBottomRight };

constexpr bool TailAtTop(TailCorner corner) {
  return corner == TailCorner::kTopLeft || corner == TailCorner::kTopRight;
}

struct HintPlacement {
  HintRect window;  // on the screen
  TailCorner corner = TailCorner::kTopLeft;
  HintPoint tip;  // the tail's tip, in window coordinates: 3 pixels in from the corner
  bool operator==(const HintPlacement&) const = default;
};

// Puts the window's top-left corner at the anchor, then flips it above and to the left of the
// anchor where it would leave the desktop, unless it would leave it that way too.
HintPlacement PlaceHint(HintPoint anchor, HintSize window, HintRect desktop);

// The rounded body, in window coordinates. The shape mask fills it including its right and bottom
// edges: a platform fill that leaves them out needs right + 1 and bottom + 1.
HintRect HintBodyRect(HintSize window, TailCorner corner, const HintKind& kind);

// Where the text is drawn: the body less the margins and the bevel.
HintRect HintTextRect(HintRect body, const HintKind& kind);

// The tail for the shape mask: the tip, then two points on the body's middle row, one eighth of the
// body's width either side of its centre.
std::array<HintPoint, 3> TailTriangle(HintRect body, HintPoint tip);

// One segment of the gradient: the rows from `from` to `to` over `percent` of the window's height.
struct GradientSegment {
  Color from = 0;
  Color to = 0;
  int percent = 0;
  int direction = 0;  // 0: top to bottom, the only direction the balloon uses
  bool operator==(const GradientSegment&) const = default;
};

// Reads ";"-separated integers in groups of five: first colour, second colour, percent, direction,
// and one ignored value. Colours below 0 read as 0 and keep their low three bytes; the percent is
// clamped to 0..100; an item that is no integer reads as 0; values beyond 32 bits stop at the
// ends; a trailing incomplete group is dropped.
std::vector<GradientSegment> ParseGradientData(std::string_view text);

// The colour of each row of a window `height` rows high, top first. Each segment covers its percent
// of the height (rounded) from where the one before ended, and the last runs to the bottom;
// segments past the bottom get no rows. Within a segment the colour runs linearly from its first
// colour on the first row to its second on the last. `segments` must not be empty.
std::vector<Color> GradientRows(const std::vector<GradientSegment>& segments, int height);

// The rows the content is filled with: the gradient when the data yields a segment and the
// gradient's share is above 0, else the body colour throughout.
std::vector<Color> ContentRows(const HintKind& kind, int height);

// Which border a pixel of the content takes.
enum class BorderSide : std::uint8_t { kNone, kTop, kBottom };

// The balloon's shape, one byte per pixel, rows top first: non-zero inside the balloon (black in
// the platform's mask bitmap), zero outside.
struct HintMask {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> inside;  // width * height
  bool Inside(int x, int y) const { return inside[std::size_t(y) * std::size_t(width) + x] != 0; }
};

// The one-pixel border, pixel by pixel in the mask's order. An inside pixel whose left or upper
// neighbour is outside, or that lies in the first column or row, is kTop (color_border_top);
// otherwise one whose right or lower neighbour is outside, or that lies in the last column or row,
// is kBottom (color_border_bottom).
std::vector<BorderSide> BorderMap(const HintMask& mask);

// The shadow's transparency t in percent and its darkest grey d = t * 255 div 100.
struct ShadowLevel {
  int t = 0;
  int d = 0;
  bool operator==(const ShadowLevel&) const = default;
};
ShadowLevel ShadowLevelOf(const HintKind& kind);

// One ring of the shadow, drawn in its grey without outline: the body moved by the shadow offset
// and shrunk by the ring's number, as a rounded rectangle like the body, and a triangle from the
// unmoved tail tip to the moved body's middle row.
struct ShadowRing {
  std::uint8_t grey = 255;
  HintRect body;
  std::array<HintPoint, 3> tail;
  bool operator==(const ShadowRing&) const = default;
};

// The rings, outermost (palest) first; none when the shadow is off. They are painted in this
// order on a white bitmap, each over the one before.
std::vector<ShadowRing> ShadowRings(HintSize window, TailCorner corner, HintPoint tip,
                                    const HintKind& kind);

// The shadow multiplied into a working pixel: each colour channel becomes working * shadow / 256
// (truncated); alpha stays. This darkens a white working bitmap, or a captured screen where
// per-pixel alpha is not available.
Bgra MultiplyShadow(Bgra working, Bgra shadow);

// One pixel of the layered image. Outside the balloon: black, with alpha 255 less the shadow
// bitmap's blue, so 0 where no shadow falls (pass the shadow bitmap's own pixel: white multiplied
// by white gives 254, which would leave alpha 1 all round). Inside: the content's colour, opaque.
// The result is premultiplied as the layered window's per-pixel alpha expects: outside the colour
// is black, which premultiplies to itself, and inside alpha is 255, so no channel needs scaling.
Bgra CompositePixel(bool inside, Bgra content, Bgra shadow);

// The window's overall opacity, round(255 - transparency * 2.55), within 0..255.
std::uint8_t HintOpacity(const HintKind& kind);

// The opacities of the fade-in's steps: each raises the last by target / 31, accumulated exactly
// and rounded, so the last step is the target.
std::vector<std::uint8_t> FadeSteps(std::uint8_t target);

}  // namespace kestrune
