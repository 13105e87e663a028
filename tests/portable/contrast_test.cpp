#include "skin/contrast.h"

#include <gtest/gtest.h>

#include "skin/cold_skin.h"

namespace kestrune {
namespace {

TEST(Contrast, FollowsTheWcagLuminanceOfSrgb) {
  struct Case {
    Rgb ink, background;
    double ratio;
  };
  const Case cases[] = {
      {{0, 0, 0}, {255, 255, 255}, 21.0},
      {{255, 255, 255}, {0, 0, 0}, 21.0},        // the order does not matter
      {{119, 119, 119}, {255, 255, 255}, 4.48},  // the grey that just misses
      {{118, 118, 118}, {255, 255, 255}, 4.54},  // the grey that just makes it
      // The design's silver captions on the light button face: what the operator could not read.
      {{192, 192, 192}, {240, 240, 240}, 1.60},
      {{192, 192, 192}, {212, 208, 200}, 1.18},
      {{192, 192, 192}, {0, 0, 0}, 11.54},
      {{0, 0, 255}, {255, 255, 255}, 8.59},  // channels weigh differently
      {{255, 0, 0}, {255, 255, 255}, 4.0},
      {{46, 54, 66}, {46, 54, 66}, 1.0},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(ContrastRatio(c.ink, c.background), c.ratio, 0.01)
        << int(c.ink.r) << "," << int(c.ink.g) << "," << int(c.ink.b) << " on "
        << int(c.background.r) << "," << int(c.background.g) << "," << int(c.background.b);
  }
  EXPECT_DOUBLE_EQ(RelativeLuminance({0, 0, 0}), 0.0);
  EXPECT_DOUBLE_EQ(RelativeLuminance({255, 255, 255}), 1.0);
  // The linear part below the knee: 10/255 is 0.0392, divided by 12.92.
  EXPECT_NEAR(RelativeLuminance({10, 10, 10}), 0.0392157 / 12.92, 1e-7);
}

TEST(ColdSkin, EveryTextReadsWellOnTheFaceItIsDrawnOn) {
  for (const SkinText& text : kColdTexts) {
    const double ratio = ContrastRatio(ColdColor(text.ink), ColdColor(text.face));
    EXPECT_GE(ratio, kReadableContrast) << text.what;
  }
}

TEST(ColdSkin, KeepsTheDesignsSilverOnBlackFieldsAndADarkFace) {
  EXPECT_EQ(ColdColor(SkinColor::kCaption), (Rgb{192, 192, 192}));
  EXPECT_EQ(ColdColor(SkinColor::kFieldText), (Rgb{192, 192, 192}));
  EXPECT_EQ(ColdColor(SkinColor::kField), (Rgb{0, 0, 0}));
  // Cool: the face leans to blue, and is dark enough for the silver captions.
  const Rgb face = ColdColor(SkinColor::kFace);
  EXPECT_GT(face.b, face.r);
  EXPECT_GE(ContrastRatio(ColdColor(SkinColor::kCaption), face), 7.0);
}

TEST(ColdSkin, TheCheckBoxFitsItsCaption) {
  // Image 13, a margin of 2 on both sides, the caption, and 8 more for the focus mark.
  EXPECT_EQ(CheckBoxWidthFor(100), 125);
  EXPECT_GT(CheckBoxWidthFor(100), kCheckBoxTextLeft + 100);
}

}  // namespace
}  // namespace kestrune
