// The skin engine: paints the window's face and each control kind in the "Cold" skin's look, from
// the palette table. One painter serves a whole window and owns the brushes it paints with.
#pragma once

#include "base/win32/prelude.h"

#include <array>
#include <string>

#include "base/win32/unique_handle.h"
#include "skin/cold_skin.h"

namespace kestrune {

inline constexpr COLORREF ToColorRef(Rgb colour) {
  return RGB(colour.r, colour.g, colour.b);
}

// What a button, a check box or an inner button shows beside its picture.
struct ButtonLook {
  bool hot = false;      // the mouse is over it
  bool pressed = false;  // held down
  bool focused = false;  // has the keyboard focus
  bool disabled = false;
};

class SkinPainter {
 public:
  SkinPainter();
  SkinPainter(const SkinPainter&) = delete;
  SkinPainter& operator=(const SkinPainter&) = delete;

  static COLORREF Color(SkinColor color) { return ToColorRef(ColdColor(color)); }
  HBRUSH Brush(SkinColor color) const { return brushes_[std::size_t(color)].get(); }

  // For WM_CTLCOLOR*: sets `text`'s colours in `dc` and gives the brush of the face under it.
  HBRUSH TextColors(HDC dc, const SkinText& text) const;

  void PaintFace(HDC dc, const RECT& area) const;
  void PaintPushButton(HDC dc, const RECT& bounds, const std::wstring& caption, HFONT font,
                       const ButtonLook& look) const;
  void PaintCheckBox(HDC dc, const RECT& bounds, const std::wstring& caption, HFONT font,
                     bool checked, const ButtonLook& look) const;
  // The face of a button inside an edit (browse, spin halves); the caller draws its picture.
  void PaintInnerButton(HDC dc, const RECT& bounds, const ButtonLook& look) const;
  const SkinText& InnerButtonText(const ButtonLook& look) const;
  // An edit's frame, in the two pixels of its client edge, drawn in window coordinates.
  void PaintFieldFrame(HDC dc, const RECT& window_bounds) const;
  void PaintStatusBar(HDC dc, const RECT& client, const std::wstring& text, HFONT font,
                      int text_left, int text_right_gap) const;

 private:
  std::array<UniqueBrush, std::size_t(SkinColor::kCount)> brushes_;
};

}  // namespace kestrune
