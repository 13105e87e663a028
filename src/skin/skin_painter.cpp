#include "skin/skin_painter.h"

#include "base/exceptions.h"
#include "base/win32/paint_scopes.h"

namespace kestrune {
namespace {

void Fill(HDC dc, RECT area, COLORREF colour) {
  ::SetBkColor(dc, colour);
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}

void Frame(HDC dc, const RECT& area, COLORREF colour) {
  const UniqueBrush brush(::CreateSolidBrush(colour));
  ::FrameRect(dc, &area, brush.get());
}

// A dotted focus mark in the skin's focus colour.
void FocusMark(HDC dc, RECT area) {
  for (int x = area.left; x < area.right; x += 2) {
    ::SetPixelV(dc, x, area.top, SkinPainter::Color(SkinColor::kFocus));
    ::SetPixelV(dc, x, area.bottom - 1, SkinPainter::Color(SkinColor::kFocus));
  }
  for (int y = area.top; y < area.bottom; y += 2) {
    ::SetPixelV(dc, area.left, y, SkinPainter::Color(SkinColor::kFocus));
    ::SetPixelV(dc, area.right - 1, y, SkinPainter::Color(SkinColor::kFocus));
  }
}

void Text(HDC dc, const std::wstring& text, HFONT font, RECT area, COLORREF ink, UINT format) {
  const ObjectSelection selected(dc, font);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ink);
  ::DrawTextW(dc, text.c_str(), int(text.size()), &area, format | DT_NOPREFIX);
}

}  // namespace

SkinPainter::SkinPainter() {
  for (std::size_t i = 0; i < brushes_.size(); ++i) {
    brushes_[i].reset(::CreateSolidBrush(ToColorRef(kColdPalette[i])));
    if (!brushes_[i]) throw EOutOfResources("Not enough resources for the skin");
  }
}

HBRUSH SkinPainter::TextColors(HDC dc, const SkinText& text) const {
  ::SetTextColor(dc, Color(text.ink));
  ::SetBkColor(dc, Color(text.face));
  return Brush(text.face);
}

void SkinPainter::PaintFace(HDC dc, const RECT& area) const {
  Fill(dc, area, Color(SkinColor::kFace));
}

void SkinPainter::PaintPushButton(HDC dc, const RECT& bounds, const std::wstring& caption,
                                  HFONT font, const ButtonLook& look) const {
  const SkinText& text = look.pressed ? kButtonPressedText
                         : look.hot   ? kButtonHotText
                                      : kButtonText;
  Fill(dc, bounds, Color(SkinColor::kFace));
  RECT body = bounds;
  Fill(dc, body, Color(text.face));
  Frame(dc, body, Color(look.focused ? SkinColor::kFocus : SkinColor::kButtonBorder));
  if (!look.pressed) {
    // A light line along the top edge: the raised look.
    RECT top{body.left + 1, body.top + 1, body.right - 1, body.top + 2};
    Fill(dc, top, Color(SkinColor::kButtonBorder));
  }
  RECT label = body;
  if (look.pressed) ::OffsetRect(&label, 1, 1);
  Text(dc, caption, font, label, Color(text.ink), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (look.focused) {
    RECT mark = body;
    ::InflateRect(&mark, -3, -3);
    FocusMark(dc, mark);
  }
}

void SkinPainter::PaintCheckBox(HDC dc, const RECT& bounds, const std::wstring& caption, HFONT font,
                                bool checked, const ButtonLook& look) const {
  Fill(dc, bounds, Color(SkinColor::kFace));
  const int top = bounds.top + (bounds.bottom - bounds.top - kCheckBoxSize) / 2;
  const RECT box{bounds.left + kCheckBoxMargin, top, bounds.left + kCheckBoxMargin + kCheckBoxSize,
                 top + kCheckBoxSize};
  Fill(dc, box, Color(look.pressed ? SkinColor::kButtonPressed : SkinColor::kField));
  Frame(dc, box, Color(look.hot || look.focused ? SkinColor::kFocus : SkinColor::kButtonBorder));
  if (checked) {
    // A tick: a short stroke down to the right, then a long one up, two pixels thick.
    const COLORREF mark = Color(kCheckMark.ink);
    const int x0 = box.left + 3, y0 = box.top + 5;
    for (int i = 0; i <= 2; ++i) {
      ::SetPixelV(dc, x0 + i, y0 + i, mark);
      ::SetPixelV(dc, x0 + i, y0 + i + 1, mark);
    }
    for (int i = 1; i <= 4; ++i) {
      ::SetPixelV(dc, x0 + 2 + i, y0 + 2 - i, mark);
      ::SetPixelV(dc, x0 + 2 + i, y0 + 3 - i, mark);
    }
  }
  RECT label{bounds.left + kCheckBoxTextLeft, bounds.top, bounds.right, bounds.bottom};
  Text(dc, caption, font, label, Color(kCheckBoxText.ink), DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  if (look.focused) {
    RECT measured = label;
    {
      const ObjectSelection selected(dc, font);
      ::DrawTextW(dc, caption.c_str(), int(caption.size()), &measured,
                  DT_LEFT | DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    }
    const int height = measured.bottom - measured.top;
    RECT mark{label.left - 2, bounds.top + (bounds.bottom - bounds.top - height) / 2 - 1,
              measured.right + 2, 0};
    mark.bottom = mark.top + height + 2;
    if (mark.right > bounds.right) mark.right = bounds.right;
    FocusMark(dc, mark);
  }
}

const SkinText& SkinPainter::InnerButtonText(const ButtonLook& look) const {
  return look.pressed ? kSpinArrowDown : look.hot ? kSpinArrowHot : kSpinArrow;
}

void SkinPainter::PaintInnerButton(HDC dc, const RECT& bounds, const ButtonLook& look) const {
  Fill(dc, bounds, Color(InnerButtonText(look).face));
  Frame(dc, bounds, Color(look.pressed ? SkinColor::kField : SkinColor::kFieldBorder));
}

void SkinPainter::PaintFieldFrame(HDC dc, const RECT& window_bounds) const {
  RECT outer = window_bounds;
  Frame(dc, outer, Color(SkinColor::kFieldBorder));
  ::InflateRect(&outer, -1, -1);
  Frame(dc, outer, Color(SkinColor::kField));
}

void SkinPainter::PaintStatusBar(HDC dc, const RECT& client, const std::wstring& text, HFONT font,
                                 int text_left, int text_right_gap) const {
  Fill(dc, client, Color(kStatusText.face));
  RECT top{client.left, client.top, client.right, client.top + 1};
  Fill(dc, top, Color(SkinColor::kFieldBorder));
  RECT area{client.left + text_left, client.top, client.right - text_right_gap, client.bottom};
  Text(dc, text, font, area, Color(kStatusText.ink),
       DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
  // The size grip: three diagonal rows of dots in the bottom right corner.
  for (int row = 0; row < 3; ++row) {
    for (int dot = 0; dot <= row; ++dot) {
      const int x = client.right - 4 - 4 * dot;
      const int y = client.bottom - 4 - 4 * (row - dot);
      const RECT square{x - 1, y - 1, x + 1, y + 1};
      Fill(dc, square, Color(SkinColor::kFieldBorder));
    }
  }
}

}  // namespace kestrune
