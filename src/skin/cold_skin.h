// The built-in "Cold" skin: a dark blue-grey face on which the design's silver captions and its
// black fields with silver text read well. The palette is a table; every text the skin draws is
// named with the colour it is drawn in and the colour it is drawn on, so its contrast can be
// checked over the whole table.
#pragma once

#include <array>
#include <cstddef>

#include "skin/contrast.h"

namespace kestrune {

// How the main window is drawn: in the skin's look, or plainly in the design's colours.
enum class Look { kPlain, kCold };

enum class SkinColor : std::size_t {
  kFace,             // the window's client area
  kCaption,          // the silver captions
  kText,             // the plain labels and the check box's caption
  kField,            // the edits' background: the design's black
  kFieldText,        // the edits' text: the design's silver
  kFieldBorder,      // the edits' frame
  kButtonFace,       // push buttons and the check box's box, normal
  kButtonHot,        // under the mouse
  kButtonPressed,    // held down
  kButtonText,       // push button captions
  kButtonBorder,     // push button and check box frames
  kFocus,            // the focus mark of buttons and the check box
  kCheckMark,        // the tick in the check box
  kStatusFace,       // the status bar
  kStatusText,       // the status text
  kInnerButton,      // the browse and spin buttons inside the edits, normal
  kInnerButtonHot,   // under the mouse
  kInnerButtonDown,  // held down
  kGlyph,            // the spin arrows
  kCount
};

// clang-format off
inline constexpr std::array<Rgb, std::size_t(SkinColor::kCount)> kColdPalette{{
  { 40,  47,  58},  // kFace
  {192, 192, 192},  // kCaption: clSilver
  {220, 225, 232},  // kText
  {  0,   0,   0},  // kField: clBlack
  {192, 192, 192},  // kFieldText: clSilver
  { 96, 112, 134},  // kFieldBorder
  { 61,  74,  92},  // kButtonFace
  { 76,  93, 116},  // kButtonHot
  { 30,  36,  46},  // kButtonPressed
  {236, 240, 245},  // kButtonText
  {118, 138, 162},  // kButtonBorder
  {143, 180, 220},  // kFocus
  {192, 192, 192},  // kCheckMark
  { 34,  40,  50},  // kStatusFace
  {200, 207, 216},  // kStatusText
  { 28,  34,  43},  // kInnerButton
  { 48,  58,  72},  // kInnerButtonHot
  { 14,  17,  22},  // kInnerButtonDown
  {192, 192, 192},  // kGlyph
}};
// clang-format on

constexpr Rgb ColdColor(SkinColor color) {
  return kColdPalette[std::size_t(color)];
}

// A text the skin draws: its colour and the colour under it.
struct SkinText {
  const char* what;
  SkinColor ink;
  SkinColor face;
};

inline constexpr SkinText kCaptionText{"silver captions", SkinColor::kCaption, SkinColor::kFace};
inline constexpr SkinText kLabelText{"plain labels", SkinColor::kText, SkinColor::kFace};
inline constexpr SkinText kCheckBoxText{"check box caption", SkinColor::kText, SkinColor::kFace};
inline constexpr SkinText kFieldText{"edit text", SkinColor::kFieldText, SkinColor::kField};
inline constexpr SkinText kButtonText{"button caption", SkinColor::kButtonText,
                                      SkinColor::kButtonFace};
inline constexpr SkinText kButtonHotText{"button caption, hot", SkinColor::kButtonText,
                                         SkinColor::kButtonHot};
inline constexpr SkinText kButtonPressedText{"button caption, pressed", SkinColor::kButtonText,
                                             SkinColor::kButtonPressed};
inline constexpr SkinText kStatusText{"status text", SkinColor::kStatusText,
                                      SkinColor::kStatusFace};
inline constexpr SkinText kCheckMark{"check mark", SkinColor::kCheckMark, SkinColor::kField};
inline constexpr SkinText kSpinArrow{"spin arrows", SkinColor::kGlyph, SkinColor::kInnerButton};
inline constexpr SkinText kSpinArrowHot{"spin arrows, hot", SkinColor::kGlyph,
                                        SkinColor::kInnerButtonHot};
inline constexpr SkinText kSpinArrowDown{"spin arrows, held", SkinColor::kGlyph,
                                         SkinColor::kInnerButtonDown};

// Every text and mark the skin draws, each on the face it is drawn on.
inline constexpr SkinText kColdTexts[] = {
    kCaptionText,       kLabelText,  kCheckBoxText, kFieldText, kButtonText,   kButtonHotText,
    kButtonPressedText, kStatusText, kCheckMark,    kSpinArrow, kSpinArrowHot, kSpinArrowDown,
};

// The check box's geometry: the box, with a margin on both sides, then the caption, then room
// for the focus mark around it.
inline constexpr int kCheckBoxSize = 13;
inline constexpr int kCheckBoxMargin = 2;
inline constexpr int kCheckBoxTextLeft = kCheckBoxSize + 2 * kCheckBoxMargin + 4;
// The width at which the caption fits whole: image + 2 × margin + caption + 8.
constexpr int CheckBoxWidthFor(int caption_width) {
  return kCheckBoxSize + 2 * kCheckBoxMargin + caption_width + 8;
}

}  // namespace kestrune
