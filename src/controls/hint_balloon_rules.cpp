#include "controls/hint_balloon_rules.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace kestrune {

namespace {

// num / den to the nearest integer, halves to the even one; den above 0.
std::int64_t RoundDiv(std::int64_t num, std::int64_t den) {
  std::int64_t quotient = num / den;
  std::int64_t remainder = num % den;
  if (remainder < 0) {  // floor, so the remainder lies in 0..den-1
    quotient -= 1;
    remainder += den;
  }
  if (2 * remainder > den || (2 * remainder == den && quotient % 2 != 0)) quotient += 1;
  return quotient;
}

std::uint8_t ClampByte(std::int64_t value) {
  return std::uint8_t(std::clamp<std::int64_t>(value, 0, 255));
}

// One ";"-separated item as an integer: spaces round it allowed; no integer reads as 0.
int ItemValue(std::string_view item) {
  while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
  while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
  bool negative = false;
  if (!item.empty() && (item.front() == '-' || item.front() == '+')) {
    negative = item.front() == '-';
    item.remove_prefix(1);
  }
  if (item.empty()) return 0;
  constexpr std::int64_t kLimit = std::int64_t(std::numeric_limits<int>::max()) + 1;
  std::int64_t magnitude = 0;
  for (char c : item) {
    if (c < '0' || c > '9') return 0;
    magnitude = std::min(magnitude * 10 + (c - '0'), kLimit);
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  return int(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                      std::numeric_limits<int>::max()));
}

Color ColorItem(int value) {
  return Color(std::max(value, 0)) & 0x00FFFFFF;
}

std::uint8_t Channel(Color color, int shift) {
  return std::uint8_t((color >> shift) & 0xFF);
}

// Row `row` of `rows` running from `from` to `to`.
Color Interpolate(Color from, Color to, int row, int rows) {
  if (rows <= 1) return from;
  Color result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int a = Channel(from, shift);
    const int b = Channel(to, shift);
    const std::int64_t value = a + RoundDiv(std::int64_t(b - a) * row, rows - 1);
    result |= Color(value) << shift;
  }
  return result;
}

}  // namespace

HintKind MainWindowHintKind() {
  HintKind kind;
  kind.style = THintStyle::hsComics;
  kind.radius = 20;
  kind.bevel_width = 1;
  kind.ex_offset = 16;
  kind.margin_h = 6;
  kind.margin_v = 12;
  kind.max_width = 240;
  kind.color = 12778748;  // RGB 252, 252, 194, as the form stores it
  kind.gradient_percent = 100;
  kind.gradient_data = "7728127;16777215;99;0;0;16777215;16777215;0;0;0";
  kind.texture_percent = 0;
  kind.color_border_top = kClOlive;
  kind.color_border_bottom = kClBlack;
  kind.transparency = 5;
  kind.shadow_enabled = true;
  kind.shadow_offset = 16;
  kind.shadow_blur = 4;
  kind.shadow_transparency = 75;
  kind.font_name = "Tahoma";
  kind.font_height = -11;
  kind.font_color = kClBlack;
  return kind;
}

int ShadowSpace(const HintKind& kind) {
  return kind.shadow_enabled ? kind.shadow_offset : 0;
}

HintSize HintWindowSize(HintSize text, const HintKind& kind) {
  const int s = ShadowSpace(kind);
  return {text.width + 2 * (kind.margin_h + kind.bevel_width) + s,
          text.height + 2 * (kind.margin_v + kind.bevel_width) + s + kind.ex_offset};
}

HintPlacement PlaceHint(HintPoint anchor, HintSize window, HintRect desktop) {
  int left = anchor.x;
  int top = anchor.y;
  if (top + window.height > desktop.bottom) {
    top = anchor.y - window.height;
    if (top < desktop.top) top = anchor.y;
  }
  if (left + window.width > desktop.right) {
    left = anchor.x - window.width;
    if (left < desktop.left) left = anchor.x;
  }
  const bool below = top == anchor.y;
  const bool right = left == anchor.x;
  HintPlacement placement;
  placement.window = {left, top, left + window.width, top + window.height};
  constexpr int kTipInset = 3;
  placement.tip.x = right ? kTipInset : window.width - kTipInset;
  placement.tip.y = below ? kTipInset : window.height - kTipInset;
  if (below) {
    placement.corner = right ? TailCorner::kTopLeft : TailCorner::kTopRight;
  } else {
    placement.corner = right ? TailCorner::kBottomLeft : TailCorner::kBottomRight;
  }
  return placement;
}

HintRect HintBodyRect(HintSize window, TailCorner corner, const HintKind& kind) {
  const int s = ShadowSpace(kind);
  if (TailAtTop(corner)) return {0, kind.ex_offset, window.width - s, window.height - s};
  return {0, 0, window.width - s, window.height - s - kind.ex_offset};
}

HintRect HintTextRect(HintRect body, const HintKind& kind) {
  const int h = kind.margin_h + kind.bevel_width;
  const int v = kind.margin_v + kind.bevel_width;
  return {body.left + h, body.top + v, body.right - h, body.bottom - v};
}

std::array<HintPoint, 3> TailTriangle(HintRect body, HintPoint tip) {
  const int middle = (body.top + body.bottom) / 2;
  const int centre = (body.left + body.right) / 2;
  const int half_base = std::max(0, body.Width() / 8);
  return {tip, HintPoint{centre - half_base, middle}, HintPoint{centre + half_base, middle}};
}

std::vector<GradientSegment> ParseGradientData(std::string_view text) {
  std::vector<int> items;
  while (!text.empty()) {
    const std::size_t end = text.find(';');
    items.push_back(ItemValue(text.substr(0, end)));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
    if (text.empty()) items.push_back(0);  // the empty item after a trailing ";"
  }
  std::vector<GradientSegment> segments;
  for (std::size_t i = 0; i + 5 <= items.size(); i += 5) {
    segments.push_back({ColorItem(items[i]), ColorItem(items[i + 1]),
                        std::clamp(items[i + 2], 0, 100), items[i + 3]});
  }
  return segments;
}

std::vector<Color> GradientRows(const std::vector<GradientSegment>& segments, int height) {
  std::vector<Color> rows;
  if (height <= 0) return rows;
  rows.reserve(std::size_t(height));
  for (std::size_t i = 0; i < segments.size(); ++i) {
    const int start = int(rows.size());
    const bool last = i + 1 == segments.size();
    const int wanted =
        last ? height - start : int(RoundDiv(std::int64_t(segments[i].percent) * height, 100));
    const int count = std::min(wanted, height - start);
    for (int row = 0; row < count; ++row) {
      rows.push_back(Interpolate(segments[i].from, segments[i].to, row, count));
    }
  }
  return rows;
}

std::vector<Color> ContentRows(const HintKind& kind, int height) {
  const std::vector<GradientSegment> segments = ParseGradientData(kind.gradient_data);
  if (segments.empty() || kind.gradient_percent <= 0) {
    return std::vector<Color>(std::size_t(std::max(height, 0)), kind.color);
  }
  return GradientRows(segments, height);
}

std::vector<BorderSide> BorderMap(const HintMask& mask) {
  const int w = mask.width;
  const int h = mask.height;
  std::vector<BorderSide> sides(std::size_t(std::max(w, 0)) * std::size_t(std::max(h, 0)),
                                BorderSide::kNone);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (!mask.Inside(x, y)) continue;
      BorderSide& side = sides[std::size_t(y) * std::size_t(w) + x];
      if (x == 0 || y == 0 || !mask.Inside(x - 1, y) || !mask.Inside(x, y - 1)) {
        side = BorderSide::kTop;
      } else if (x == w - 1 || y == h - 1 || !mask.Inside(x + 1, y) || !mask.Inside(x, y + 1)) {
        side = BorderSide::kBottom;
      }
    }
  }
  return sides;
}

ShadowLevel ShadowLevelOf(const HintKind& kind) {
  const std::int64_t st = kind.shadow_transparency;
  // (100 - st) * transparency / 100 + st, as one fraction over 100.
  const int t = int(RoundDiv((100 - st) * kind.transparency + 100 * st, 100));
  return {t, t * 255 / 100};
}

std::vector<ShadowRing> ShadowRings(HintSize window, TailCorner corner, HintPoint tip,
                                    const HintKind& kind) {
  std::vector<ShadowRing> rings;
  if (!kind.shadow_enabled || kind.shadow_blur < 0) return rings;
  const int blur = kind.shadow_blur;
  const int d = ShadowLevelOf(kind).d;
  HintRect moved = HintBodyRect(window, corner, kind);
  moved.left += kind.shadow_offset;
  moved.right += kind.shadow_offset;
  moved.top += kind.shadow_offset;
  moved.bottom += kind.shadow_offset;
  const int middle = (moved.top + moved.bottom) / 2;
  const int centre = (moved.left + moved.right) / 2 + blur;
  // The tail narrows ring by ring by 2 * r, r = (g + height / 2) / (g + 1), where g is the gap
  // between the moved body and the window's edge on the tail's side. Kept as one fraction:
  // 2 * e * r = e * (2g + height) / (g + 1). A gap of -1 or less (negative settings) gives no
  // narrowing rather than a division by zero.
  const std::int64_t gap = TailAtTop(corner) ? moved.top : window.height - moved.bottom;
  for (int e = 0; e <= blur; ++e) {
    ShadowRing ring;
    ring.grey = ClampByte(d + RoundDiv(std::int64_t(blur - e) * (255 - d), blur + 1));
    ring.body = {moved.left + e, moved.top + e, moved.right - e, moved.bottom - e};
    const std::int64_t narrowing =
        gap + 1 > 0 ? RoundDiv(std::int64_t(e) * (2 * gap + moved.Height()), gap + 1) : 0;
    const int w = int(std::max<std::int64_t>(0, moved.Width() / 8 - narrowing));
    ring.tail = {tip, HintPoint{centre - w, middle}, HintPoint{centre + w, middle}};
    rings.push_back(ring);
  }
  return rings;
}

Bgra MultiplyShadow(Bgra working, Bgra shadow) {
  auto multiply = [](std::uint8_t a, std::uint8_t b) { return std::uint8_t(a * b / 256); };
  return {multiply(working.b, shadow.b), multiply(working.g, shadow.g),
          multiply(working.r, shadow.r), working.a};
}

Bgra CompositePixel(bool inside, Bgra content, Bgra shadow) {
  if (inside) return {content.b, content.g, content.r, 255};
  return {0, 0, 0, std::uint8_t(255 - shadow.b)};
}

std::uint8_t HintOpacity(const HintKind& kind) {
  // 255 - transparency * 2.55, as one fraction over 100.
  return ClampByte(RoundDiv(25500 - 255 * std::int64_t(kind.transparency), 100));
}

std::vector<std::uint8_t> FadeSteps(std::uint8_t target) {
  std::vector<std::uint8_t> steps;
  steps.reserve(kHintFadeSteps);
  for (int step = 1; step <= kHintFadeSteps; ++step) {
    steps.push_back(std::uint8_t(RoundDiv(std::int64_t(step) * target, kHintFadeSteps)));
  }
  return steps;
}

}  // namespace kestrune
