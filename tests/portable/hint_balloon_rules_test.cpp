#include "controls/hint_balloon_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrune {
namespace {

std::string Describe(Color color) {
  return "RGB " + std::to_string(RedOf(color)) + ", " + std::to_string(GreenOf(color)) + ", " +
         std::to_string(BlueOf(color));
}

// A one-line hint 100 pixels wide in Tahoma 8 on the main window: the window is 130 by 71.
constexpr HintSize kText{100, 13};
constexpr HintSize kWindow{130, 71};

TEST(HintBalloonRules, WindowSize) {
  HintKind no_shadow = MainWindowHintKind();
  no_shadow.shadow_enabled = false;
  struct Case {
    const char* name;
    HintKind kind;
    HintSize text;
    HintSize expected;
  };
  const Case cases[] = {
      {"main window", MainWindowHintKind(), kText, kWindow},
      {"main window, wrapped text", MainWindowHintKind(), {240, 39}, {270, 97}},
      {"main window, no text", MainWindowHintKind(), {0, 0}, {30, 58}},
      {"shadow off", no_shadow, kText, {114, 55}},
      {"class defaults", HintKind{}, kText, {132, 67}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(HintWindowSize(c.text, c.kind), c.expected);
  }
}

TEST(HintBalloonRules, Placement) {
  constexpr HintRect kScreen{0, 0, 1024, 768};
  struct Case {
    const char* name;
    HintPoint anchor;
    HintRect desktop;
    HintPlacement expected;
  };
  const Case cases[] = {
      {"room everywhere",
       {100, 100},
       kScreen,
       {{100, 100, 230, 171}, TailCorner::kTopLeft, {3, 3}}},
      {"fits to the pixel",
       {894, 697},
       kScreen,
       {{894, 697, 1024, 768}, TailCorner::kTopLeft, {3, 3}}},
      {"near the right edge",
       {950, 100},
       kScreen,
       {{820, 100, 950, 171}, TailCorner::kTopRight, {127, 3}}},
      {"near the bottom edge",
       {100, 720},
       kScreen,
       {{100, 649, 230, 720}, TailCorner::kBottomLeft, {3, 68}}},
      {"near both",
       {950, 720},
       kScreen,
       {{820, 649, 950, 720}, TailCorner::kBottomRight, {127, 68}}},
      {"one pixel over on both",
       {895, 698},
       kScreen,
       {{765, 627, 895, 698}, TailCorner::kBottomRight, {127, 68}}},
      {"too low for either way: stays below",
       {100, 60},
       {0, 0, 1024, 100},
       {{100, 60, 230, 131}, TailCorner::kTopLeft, {3, 3}}},
      {"above reaches the top exactly",
       {100, 71},
       {0, 0, 1024, 100},
       {{100, 0, 230, 71}, TailCorner::kBottomLeft, {3, 68}}},
      {"too narrow for either way: stays right",
       {100, 100},
       {0, 0, 200, 768},
       {{100, 100, 230, 171}, TailCorner::kTopLeft, {3, 3}}},
      {"too narrow and too low",
       {100, 60},
       {0, 0, 200, 100},
       {{100, 60, 230, 131}, TailCorner::kTopLeft, {3, 3}}},
      {"desktop left of the primary screen",
       {-50, 500},
       {-1280, 0, 0, 1024},
       {{-180, 500, -50, 571}, TailCorner::kTopRight, {127, 3}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PlaceHint(c.anchor, kWindow, c.desktop), c.expected);
  }
}

TEST(HintBalloonRules, BodyTextAndTail) {
  HintKind no_shadow = MainWindowHintKind();
  no_shadow.shadow_enabled = false;
  struct Case {
    const char* name;
    HintKind kind;
    HintSize window;
    TailCorner corner;
    HintPoint tip;
    HintRect body;
    int middle;  // the tail's base row
  };
  const Case cases[] = {
      {"top left",
       MainWindowHintKind(),
       kWindow,
       TailCorner::kTopLeft,
       {3, 3},
       {0, 16, 114, 55},
       35},
      {"top right",
       MainWindowHintKind(),
       kWindow,
       TailCorner::kTopRight,
       {127, 3},
       {0, 16, 114, 55},
       35},
      {"bottom left",
       MainWindowHintKind(),
       kWindow,
       TailCorner::kBottomLeft,
       {3, 68},
       {0, 0, 114, 39},
       19},
      {"bottom right",
       MainWindowHintKind(),
       kWindow,
       TailCorner::kBottomRight,
       {127, 68},
       {0, 0, 114, 39},
       19},
      {"top, shadow off", no_shadow, {114, 55}, TailCorner::kTopLeft, {3, 3}, {0, 16, 114, 55}, 35},
      {"bottom, shadow off",
       no_shadow,
       {114, 55},
       TailCorner::kBottomRight,
       {111, 52},
       {0, 0, 114, 39},
       19},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const HintRect body = HintBodyRect(c.window, c.corner, c.kind);
    EXPECT_EQ(body, c.body);
    // The margins and the bevel leave exactly the measured text.
    const HintRect text = HintTextRect(body, c.kind);
    EXPECT_EQ((HintSize{text.Width(), text.Height()}), kText);
    // 114 div 8 = 14 either side of the centre, 57.
    const std::array<HintPoint, 3> expected_tail = {c.tip, HintPoint{43, c.middle},
                                                    HintPoint{71, c.middle}};
    EXPECT_EQ(TailTriangle(body, c.tip), expected_tail);
  }
  // A body narrower than 8 pixels has a tail of no width at its base.
  const std::array<HintPoint, 3> thin = {HintPoint{3, 3}, HintPoint{3, 20}, HintPoint{3, 20}};
  EXPECT_EQ(TailTriangle({0, 16, 7, 25}, {3, 3}), thin);
}

TEST(HintBalloonRules, GradientData) {
  using S = GradientSegment;
  struct Case {
    const char* text;
    std::vector<GradientSegment> expected;
  };
  const Case cases[] = {
      {"7728127;16777215;99;0;0;16777215;16777215;0;0;0",
       {S{RgbColor(255, 235, 117), kClWhite, 99, 0}, S{kClWhite, kClWhite, 0, 0}}},
      {"", {}},
      {"garbage", {}},
      {";;;", {}},
      {"1;2;3;4", {}},
      {"1;2;3;4;5;6;7;8;9", {S{1, 2, 3, 4}}},  // the incomplete second group goes
      {"1;2;3;4;5;", {S{1, 2, 3, 4}}},         // as does the empty item after a last ";"
      {"-5;-2147483648;50;0;0", {S{0, 0, 50, 0}}},
      {"255;65280;150;0;0;1;2;-3;1;0", {S{255, 65280, 100, 0}, S{1, 2, 0, 1}}},
      {"255;0;99999999999;0;0", {S{255, 0, 100, 0}}},
      {" 255 ;+65280;x;0;y", {S{255, 65280, 0, 0}}},
      {"33554431;1;10;0;0", {S{kClWhite, 1, 10, 0}}},  // only three colour bytes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseGradientData(c.text), c.expected);
  }
}

TEST(HintBalloonRules, MainWindowGradientRows) {
  const HintKind kind = MainWindowHintKind();
  struct Case {
    int height;
    int first_white;  // the last row of the first segment, 99 % of the height rounded
  };
  for (const Case& c : {Case{71, 69}, Case{100, 98}, Case{97, 95}}) {
    SCOPED_TRACE("height " + std::to_string(c.height));
    const std::vector<Color> rows = ContentRows(kind, c.height);
    ASSERT_EQ(rows.size(), std::size_t(c.height));
    EXPECT_EQ(rows.front(), RgbColor(255, 235, 117)) << Describe(rows.front());
    // The first segment ends in white; the rest is white.
    EXPECT_NE(rows[c.first_white - 1], kClWhite) << Describe(rows[c.first_white - 1]);
    for (int y = c.first_white; y < c.height; ++y) {
      EXPECT_EQ(rows[y], kClWhite) << "row " << y << ": " << Describe(rows[y]);
    }
  }
  // Halfway down a 71-row window: 35 of the 69 steps from 255, 235, 117 to white.
  EXPECT_EQ(ContentRows(kind, 71)[35], RgbColor(255, 245, 187));
}

TEST(HintBalloonRules, GradientSegmentsShareTheHeight) {
  const Color red = RgbColor(255, 0, 0), green = RgbColor(0, 255, 0), blue = RgbColor(0, 0, 255);
  struct Case {
    const char* data;
    int height;
    std::vector<Color> expected;
  };
  const Case cases[] = {
      // The last segment runs to the bottom whatever its percent.
      {"255;255;25;0;0;65280;65280;25;0;0;16711680;16711680;10;0;0",
       8,
       {red, red, green, green, blue, blue, blue, blue}},
      // Percents beyond the height: the second is cut short, the third gets no row.
      {"255;255;80;0;0;65280;65280;80;0;0;16711680;16711680;10;0;0",
       5,
       {red, red, red, red, green}},
      // 25 % of 10 rows is 2.5: rounded to even, 2.
      {"255;255;25;0;0;65280;65280;0;0;0",
       10,
       {red, red, green, green, green, green, green, green, green, green}},
      // Each row linear from the first colour to the second, halves rounded to even: 2.5 to 2 and
      // 7.5 to 8.
      {"0;10;100;0;0", 5, {0, 2, 5, 8, 10}},
      {"10;0;100;0;0", 5, {10, 8, 5, 2, 0}},
      {"0;16777215;100;0;0", 1, {0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.data) + ", height " + std::to_string(c.height));
    EXPECT_EQ(GradientRows(ParseGradientData(c.data), c.height), c.expected);
  }
}

TEST(HintBalloonRules, BodyColourWithoutGradient) {
  HintKind kind = MainWindowHintKind();
  const std::vector<Color> body_colour(5, 12778748);  // RGB 252, 252, 194
  for (const char* data : {"", "1;2;3", "not a gradient"}) {
    SCOPED_TRACE(data);
    kind.gradient_data = data;
    EXPECT_EQ(ContentRows(kind, 5), body_colour);
  }
  kind = MainWindowHintKind();
  kind.gradient_percent = 0;
  EXPECT_EQ(ContentRows(kind, 5), body_colour);
}

// Inside pixels '#', outside '.'; expected sides 'T' (top colour), 'B' (bottom colour), '#' none.
TEST(HintBalloonRules, Border) {
  const std::vector<std::string> shape = {
      "####..",  //
      "####.#",  //
      ".#####",  //
      "######",  //
      "...###",  //
  };
  const std::vector<std::string> expected = {
      "TTTT..",  // the first row
      "T##B.T",  // the first column; right neighbour outside; upper neighbour outside
      ".T##TB",  // left neighbour outside; the last column, though the next row starts inside
      "TBB##B",  // lower neighbour outside
      "...TBB",  // left neighbour outside, though in the last row; the last row
  };
  // Exactly as large as the image, so a look past its last row is caught.
  HintMask mask{int(shape[0].size()), int(shape.size()), {}};
  mask.inside.resize(shape.size() * shape[0].size());
  for (std::size_t y = 0; y < shape.size(); ++y) {
    for (std::size_t x = 0; x < shape[y].size(); ++x) {
      mask.inside[y * shape[y].size() + x] = shape[y][x] == '#';
    }
  }
  mask.inside.shrink_to_fit();
  const std::vector<BorderSide> sides = BorderMap(mask);
  ASSERT_EQ(sides.size(), mask.inside.size());
  std::vector<std::string> actual;
  for (int y = 0; y < mask.height; ++y) {
    std::string row;
    for (int x = 0; x < mask.width; ++x) {
      const BorderSide side = sides[std::size_t(y * mask.width + x)];
      row += side == BorderSide::kTop      ? 'T'
             : side == BorderSide::kBottom ? 'B'
             : mask.Inside(x, y)           ? '#'
                                           : '.';
    }
    actual.push_back(row);
  }
  EXPECT_EQ(actual, expected);
}

TEST(HintBalloonRules, ShadowLevel) {
  struct Case {
    int shadow_transparency, transparency;
    ShadowLevel expected;
  };
  const Case cases[] = {
      {75, 5, {76, 193}},    // the main window: 76.25
      {75, 0, {75, 191}},    //
      {50, 1, {50, 127}},    // 50.5 rounds to even
      {50, 3, {52, 132}},    // 51.5 rounds to even
      {0, 0, {0, 0}},        //
      {100, 50, {100, 255}}  //
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.shadow_transparency) + ", " + std::to_string(c.transparency));
    HintKind kind = MainWindowHintKind();
    kind.shadow_transparency = c.shadow_transparency;
    kind.transparency = c.transparency;
    EXPECT_EQ(ShadowLevelOf(kind), c.expected);
  }
}

TEST(HintBalloonRules, ShadowRings) {
  // The moved body, top tail: 16, 32, 130, 71; its centre 73 plus the blur 4, its middle row 51;
  // r = (32 + 19.5) / 33. Bottom tail: 16, 16, 130, 55; middle row 35; r = (16 + 19.5) / 17.
  struct Case {
    TailCorner corner;
    HintPoint tip;
    int top, bottom, middle;
    std::vector<int> half_bases;  // w, ring by ring
  };
  const Case cases[] = {
      {TailCorner::kTopLeft, {3, 3}, 32, 71, 51, {14, 11, 8, 5, 2}},
      {TailCorner::kTopRight, {127, 3}, 32, 71, 51, {14, 11, 8, 5, 2}},
      {TailCorner::kBottomLeft, {3, 68}, 16, 55, 35, {14, 10, 6, 1, 0}},
      {TailCorner::kBottomRight, {127, 68}, 16, 55, 35, {14, 10, 6, 1, 0}},
  };
  const std::vector<int> greys = {243, 230, 218, 205, 193};
  for (const Case& c : cases) {
    SCOPED_TRACE("tail at " + std::to_string(c.tip.x) + ", " + std::to_string(c.tip.y));
    const std::vector<ShadowRing> rings =
        ShadowRings(kWindow, c.corner, c.tip, MainWindowHintKind());
    ASSERT_EQ(rings.size(), greys.size());
    for (int e = 0; e < int(rings.size()); ++e) {
      SCOPED_TRACE("ring " + std::to_string(e));
      const ShadowRing& ring = rings[e];
      EXPECT_EQ(ring.grey, greys[e]);
      EXPECT_EQ(ring.body, (HintRect{16 + e, c.top + e, 130 - e, c.bottom - e}));
      const int w = c.half_bases[e];
      const std::array<HintPoint, 3> tail = {c.tip, HintPoint{77 - w, c.middle},
                                             HintPoint{77 + w, c.middle}};
      EXPECT_EQ(ring.tail, tail);
    }
  }
}

TEST(HintBalloonRules, ShadowRingsFollowTheSettings) {
  HintKind kind = MainWindowHintKind();
  kind.shadow_enabled = false;
  EXPECT_TRUE(ShadowRings({114, 55}, TailCorner::kTopLeft, {3, 3}, kind).empty());

  kind = MainWindowHintKind();
  kind.shadow_blur = 0;
  const std::vector<ShadowRing> one = ShadowRings(kWindow, TailCorner::kTopLeft, {3, 3}, kind);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].grey, 193);
  EXPECT_EQ(one[0].tail[1], (HintPoint{73 - 14, 51}));

  // Greys with halves: with d = 0 and five blur steps the rings lie 255 * (5 - e) / 6 above d,
  // and 212.5 and 42.5 round to even.
  kind.shadow_transparency = 0;
  kind.transparency = 0;
  kind.shadow_blur = 5;
  std::vector<int> greys;
  for (const ShadowRing& ring : ShadowRings(kWindow, TailCorner::kTopLeft, {3, 3}, kind)) {
    greys.push_back(ring.grey);
  }
  EXPECT_EQ(greys, (std::vector<int>{212, 170, 128, 85, 42, 0}));
}

TEST(HintBalloonRules, Pixels) {
  const Bgra white = ToBgra(kClWhite);
  const Bgra grey193 = ToBgra(RgbColor(193, 193, 193));
  const Bgra content = ToBgra(RgbColor(255, 235, 117));
  struct MultiplyCase {
    Bgra working, shadow, expected;
  };
  const MultiplyCase multiplies[] = {
      {white, white, {254, 254, 254, 0}},
      {white, grey193, {192, 192, 192, 0}},
      {{128, 64, 255, 77}, {243, 255, 1}, {121, 63, 0, 77}},
  };
  for (const MultiplyCase& c : multiplies) {
    EXPECT_EQ(MultiplyShadow(c.working, c.shadow), c.expected);
  }

  struct CompositeCase {
    const char* name;
    bool inside;
    Bgra shadow;
    Bgra expected;
  };
  const CompositeCase composites[] = {
      {"outside, no shadow", false, white, {0, 0, 0, 0}},
      {"outside, innermost ring", false, grey193, {0, 0, 0, 62}},
      {"outside, outermost ring", false, ToBgra(RgbColor(243, 243, 243)), {0, 0, 0, 12}},
      {"outside, blue alone counts", false, {200, 0, 0, 0}, {0, 0, 0, 55}},
      {"inside", true, white, {117, 235, 255, 255}},
      {"inside, over the shadow", true, grey193, {117, 235, 255, 255}},
  };
  for (const CompositeCase& c : composites) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CompositePixel(c.inside, content, c.shadow), c.expected);
  }
}

TEST(HintBalloonRules, Opacity) {
  struct Case {
    int transparency;
    int expected;
  };
  const Case cases[] = {
      {5, 242},   // 242.25
      {0, 255},   //
      {100, 0},   //
      {2, 250},   // 249.9
      {10, 230},  // 229.5 rounds to even
      {30, 178},  // 178.5 rounds to even
      {150, 0},   // beyond the range: kept within a byte
      {-10, 255},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.transparency);
    HintKind kind = MainWindowHintKind();
    kind.transparency = c.transparency;
    EXPECT_EQ(HintOpacity(kind), c.expected);
  }
}

TEST(HintBalloonRules, FadeSteps) {
  for (int target : {242, 255, 31, 7, 0}) {
    SCOPED_TRACE(target);
    const std::vector<std::uint8_t> steps = FadeSteps(std::uint8_t(target));
    ASSERT_EQ(steps.size(), 31u);
    EXPECT_EQ(steps.back(), target);
    for (std::size_t i = 1; i < steps.size(); ++i) {
      EXPECT_LE(steps[i - 1], steps[i]) << "step " << i;
      // Each step raises by target / 31, give or take the rounding.
      EXPECT_LE((steps[i] - steps[i - 1]) * 31, target + 31) << "step " << i;
    }
  }
  const std::vector<std::uint8_t> main = FadeSteps(242);
  EXPECT_EQ(main.front(), 8);     // 7.81
  EXPECT_EQ(main[1], 16);         // 15.61
  EXPECT_EQ(main[15], 125);       // 124.9
  EXPECT_EQ(FadeSteps(7)[1], 0);  // 0.45
  EXPECT_EQ(FadeSteps(7)[2], 1);  // 0.68
}

}  // namespace
}  // namespace kestrune
