#include "controls/spin_edit.h"

#include <algorithm>
#include <utility>

#include "base/win32/paint_scopes.h"
#include "controls/spin_rules.h"

namespace kestrune {
namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeatMs = 400;
constexpr UINT kRepeatMs = 100;

// Geometry in the edit's client area, from the edit's outer size.
constexpr int kButtonWidth = 18;
constexpr int kButtonLeftFromRight = 22;
constexpr int kButtonHeightLess = 4;
constexpr int kTextRightFromRight = 21;

constexpr int kGlyphWidth = 7;
constexpr int kGlyphRows = 3;

// The arrow of one half, centred in `area`, one pixel right and down while pressed: each row one
// pixel narrower at both ends towards the tip.
void PaintArrow(HDC dc, const RECT& area, bool up, bool pressed, HBRUSH brush) {
  const int shift = pressed ? 1 : 0;
  const int left = area.left + (area.right - area.left - kGlyphWidth) / 2 + shift;
  const int top = area.top + (area.bottom - area.top - kGlyphRows) / 2 + shift;
  for (int row = 0; row < kGlyphRows; ++row) {
    const int inset = up ? kGlyphRows - 1 - row : row;
    const RECT line{left + inset, top + row, left + kGlyphWidth - inset, top + row + 1};
    ::FillRect(dc, &line, brush);
  }
}

}  // namespace

TsSpinButton::TsSpinButton(HWND edit, std::function<void(Half)> on_step)
    : on_step_(std::move(on_step)) {
  CreateWindowHandle({.class_name = L"TsSpinButton",
                      .style = WS_CHILD | WS_VISIBLE,
                      .ex_style = WS_EX_NOPARENTNOTIFY,
                      .parent = edit,
                      .class_style = CS_HREDRAW | CS_VREDRAW});
}

TsSpinButton::Half TsSpinButton::HalfAt(LPARAM point) const {
  const POINT at{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
  RECT client;
  ::GetClientRect(Handle(), &client);
  if (!::PtInRect(&client, at)) return Half::kNone;
  return at.y < client.bottom / 2 ? Half::kUp : Half::kDown;
}

void TsSpinButton::Press(Half half) {
  const HWND edit = ::GetParent(Handle());
  if (half == Half::kNone || !::IsWindowEnabled(edit)) return;
  // The field, not the button, keeps the focus, so leaving it afterwards clamps what the steps
  // wrote.
  if (::GetFocus() != edit) ::SetFocus(edit);
  pressed_ = half;
  over_pressed_ = true;
  repeating_ = false;
  ::SetCapture(Handle());
  hints_off_.emplace();
  ArmTimer(repeat_timer_, Handle(), kRepeatTimer, kFirstRepeatMs);
  ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TsSpinButton::Repeat() {
  if (pressed_ == Half::kNone || ::GetCapture() != Handle()) {
    EndPress();
    return;
  }
  if (!repeating_) {
    repeating_ = true;
    ArmTimer(repeat_timer_, Handle(), kRepeatTimer, kRepeatMs);
  }
  on_step_(pressed_);
}

void TsSpinButton::Release(LPARAM point) {
  const Half half = pressed_;
  if (half == Half::kNone) return;
  const bool over = HalfAt(point) == half;
  EndPress();
  if (over) on_step_(half);
}

void TsSpinButton::EndPress() {
  // Cleared before the capture goes, as releasing it comes back here through WM_CAPTURECHANGED.
  pressed_ = Half::kNone;
  over_pressed_ = false;
  repeat_timer_.reset();
  hints_off_.reset();
  if (::GetCapture() == Handle()) ::ReleaseCapture();
  ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TsSpinButton::SetSkin(const SkinPainter* skin) {
  skin_ = skin;
  ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TsSpinButton::Paint(HDC dc) {
  RECT client;
  ::GetClientRect(Handle(), &client);
  const bool enabled = ::IsWindowEnabled(::GetParent(Handle())) != FALSE;
  if (skin_) {
    const int middle = client.bottom / 2;
    for (const Half half : {Half::kUp, Half::kDown}) {
      RECT area = client;
      (half == Half::kUp ? area.bottom : area.top) = middle;
      const ButtonLook look{.pressed = half == pressed_ && over_pressed_, .disabled = !enabled};
      skin_->PaintInnerButton(dc, area, look);
      const UniqueBrush glyph(
          ::CreateSolidBrush(enabled ? SkinPainter::Color(skin_->InnerButtonText(look).ink)
                                     : ::GetSysColor(COLOR_GRAYTEXT)));
      PaintArrow(dc, area, half == Half::kUp, look.pressed, glyph.get());
    }
    return;
  }
  const UniqueBrush background(::CreateSolidBrush(kClBlack));
  const UniqueBrush glyph(::CreateSolidBrush(enabled ? kClSilver : ::GetSysColor(COLOR_GRAYTEXT)));
  const int middle = client.bottom / 2;
  for (const Half half : {Half::kUp, Half::kDown}) {
    RECT area = client;
    (half == Half::kUp ? area.bottom : area.top) = middle;
    ::FillRect(dc, &area, background.get());
    const bool down = half == pressed_ && over_pressed_;
    ::DrawEdge(dc, &area, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    PaintArrow(dc, area, half == Half::kUp, down, glyph.get());
  }
}

LRESULT TsSpinButton::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  const auto paint = [this](HDC dc) { Paint(dc); };
  if (const auto painted = HandleSelfPaint(Handle(), message, wparam, paint)) return *painted;
  switch (message) {
    case WM_LBUTTONDOWN:
      Press(HalfAt(lparam));
      return 0;
    case WM_MOUSEMOVE:
      if (pressed_ != Half::kNone) {
        const bool over = HalfAt(lparam) == pressed_;
        if (over != over_pressed_) {
          over_pressed_ = over;
          ::InvalidateRect(Handle(), nullptr, FALSE);
        }
      }
      return 0;
    case WM_LBUTTONUP:
      Release(lparam);
      return 0;
    case WM_TIMER:
      if (wparam != kRepeatTimer) break;
      Repeat();
      return 0;
    case WM_CAPTURECHANGED:
      // Another window took the mouse: the press ends without a step.
      if (pressed_ != Half::kNone && reinterpret_cast<HWND>(lparam) != Handle()) EndPress();
      return 0;
  }
  return WindowBase::HandleMessage(message, wparam, lparam);
}

void TsSpinEdit::SetSkin(const SkinPainter* skin) {
  TsEdit::SetSkin(skin);
  button_.SetSkin(skin);
}

TsSpinEdit::TsSpinEdit(HWND parent, const ControlPlacement& placement)
    // Clipping the button keeps the edit's own drawing (typing, selection) from painting over it.
    : TsEdit(parent, placement, WS_CLIPCHILDREN),
      button_(Handle(), [this](TsSpinButton::Half half) {
        half == TsSpinButton::Half::kUp ? StepUp() : StepDown();
      }) {
  Subclass();
  LayoutInnerButton();
}

std::int32_t TsSpinEdit::Value() const {
  return SpinValueOf(Text(), MinValue);
}

void TsSpinEdit::SetValue(std::int32_t value) {
  if (loading_) return;
  WriteValue(value);
}

void TsSpinEdit::WriteValue(std::int64_t value) {
  SetText(SpinValueText(value, MinValue, MaxValue));
}

void TsSpinEdit::StepUp() {
  Step(Increment, OnUpClick);
}

void TsSpinEdit::StepDown() {
  Step(-std::int64_t{Increment}, OnDownClick);
}

void TsSpinEdit::Step(std::int64_t delta, const std::function<void()>& handler) {
  if (ReadOnly()) {
    Beep(MB_OK);
    return;
  }
  if (handler) {
    // A copy: the handler may reassign itself while it runs.
    const std::function<void()> run = handler;
    run();
    return;
  }
  WriteValue(std::int64_t{Value()} + delta);
}

void TsSpinEdit::LayoutInnerButton() {
  RECT outer;
  ::GetWindowRect(Handle(), &outer);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  ::SetWindowPos(button_.Handle(), nullptr, width - kButtonLeftFromRight, 0, kButtonWidth,
                 std::max(0, height - kButtonHeightLess), SWP_NOZORDER | SWP_NOACTIVATE);
  // The edit insets its text rectangle by a border of its own besides the margin, and resets the
  // margin with every font: set it, see where the text ends, and correct by the difference.
  const LONG text_right = width - kTextRightFromRight;
  RECT client;
  ::GetClientRect(Handle(), &client);
  int margin = std::max(0, int(client.right - text_right));
  ::SendMessageW(Handle(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, margin));
  RECT text;
  ::SendMessageW(Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
  if (text.right != text_right) {
    margin = std::max(0, margin + int(text.right - text_right));
    ::SendMessageW(Handle(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, margin));
  }
}

LRESULT TsSpinEdit::WindowMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CHAR:
      if (FilterKey(static_cast<std::uint32_t>(wparam), EditorEnabled) == KeyFilter::kRefuse) {
        Beep(MB_OK);
        return 0;
      }
      break;
    case WM_CUT:
    case WM_PASTE:
      if (!EditorEnabled) return 0;
      break;
    case WM_KEYDOWN:
      if (wparam == VK_UP || wparam == VK_DOWN) {
        // The key goes on to the edit; the step follows it.
        const LRESULT result = TsEdit::WindowMessage(message, wparam, lparam);
        wparam == VK_UP ? StepUp() : StepDown();
        return result;
      }
      break;
    case WM_MOUSEWHEEL: {
      if (ReadOnly()) break;
      const int notches = GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA;
      if (notches != 0) WriteValue(std::int64_t{Value()} + std::int64_t{notches} * Increment);
      return 0;
    }
    case WM_KILLFOCUS: {
      const LRESULT result = TsEdit::WindowMessage(message, wparam, lparam);
      if (const auto clamped = TextOnLeaving(Text(), MinValue, MaxValue)) SetText(*clamped);
      return result;
    }
    case WM_ENABLE:
      ::InvalidateRect(button_.Handle(), nullptr, FALSE);
      break;
  }
  return TsEdit::WindowMessage(message, wparam, lparam);
}

}  // namespace kestrune
