// The balloon drawn with GDI on 32-bit top-down DIB sections: the text measured in the hint font,
// the shape mask, the content (gradient, text, border), the shadow rings, and the composed
// per-pixel-alpha image with the window region cut to what it shows.
#pragma once

#include "base/win32/prelude.h"

#include <string_view>

#include "base/win32/unique_handle.h"
#include "controls/hint_balloon_rules.h"

namespace kestrune {

// A 32-bit top-down DIB section: row 0 is the top row, as the rules number them.
class DibSection {
 public:
  DibSection() = default;
  // Raises EOutOfResources when the platform refuses the bitmap.
  DibSection(int width, int height);

  HBITMAP Handle() const { return bitmap_.get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  Bgra& At(int x, int y) { return pixels_[std::size_t(y) * std::size_t(width_) + std::size_t(x)]; }
  const Bgra& At(int x, int y) const {
    return pixels_[std::size_t(y) * std::size_t(width_) + std::size_t(x)];
  }
  void Fill(Bgra pixel);

 private:
  UniqueBitmap bitmap_;
  Bgra* pixels_ = nullptr;  // owned by the bitmap
  int width_ = 0;
  int height_ = 0;
};

// The hint font of `kind`.
UniqueFont CreateHintFont(const HintKind& kind);

// The text's size word-wrapped at max_width, centred, ampersands drawn as themselves.
HintSize MeasureHintText(HFONT font, std::wstring_view text, const HintKind& kind);

// Everything one showing of a balloon is drawn from.
struct ComposedBalloon {
  HintPlacement placement;  // window on the screen, tail corner and tip
  HintRect body;            // in window coordinates
  HintMask mask;
  DibSection content;  // gradient, text and border
  DibSection shadow;   // the rings on white
  DibSection working;  // white with the shadow multiplied in, as a captured screen would take it
  DibSection image;    // premultiplied per-pixel alpha, for UpdateLayeredWindow

  HintSize Size() const { return {placement.window.Width(), placement.window.Height()}; }
};

// Measures `text`, places the window at `anchor` within `desktop` and draws every bitmap.
ComposedBalloon ComposeBalloon(const HintKind& kind, HFONT font, std::wstring_view text,
                               HintPoint anchor, HintRect desktop);

// What the window shows on screen: the image, except that where the shadow falls outside the
// balloon the screen beneath (`beneath`, captured before showing) is darkened by the shadow and
// shown opaque. A screen that cannot blend per-pixel alpha would show the shadow's own black
// pixels as a solid black band; the captured picture looks the same on either kind of screen.
DibSection ScreenPicture(const ComposedBalloon& balloon, const DibSection& beneath);

// The screen's pixels under `area`, as they are now.
DibSection CaptureScreen(HintRect area);

// The window region of the image: every pixel whose alpha is above 0, in window coordinates.
UniqueRegion BalloonRegion(const DibSection& image);

}  // namespace kestrune
