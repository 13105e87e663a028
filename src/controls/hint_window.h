// The hint window: a borderless, topmost, layered tool window that never takes the activation.
// It shows a composed balloon as its per-pixel-alpha image, cut to the balloon and its shadow,
// and fades in when it was not already visible.
#pragma once

#include "base/win32/prelude.h"

#include <optional>
#include <string>

#include "controls/hint_balloon_drawing.h"
#include "ui/window_base.h"

namespace kestrune {

class THintWindow final : private WindowBase {
 public:
  explicit THintWindow(HintKind kind);

  HWND Handle() const { return WindowBase::Handle(); }
  bool Visible() const { return ::IsWindowVisible(Handle()) != FALSE; }

  // The application's two requests: the window's size for a text, and showing at a rectangle.
  HintSize CalcHintRect(const std::wstring& text) const;
  // Draws the balloon for `text` with its top-left corner at `anchor` (flipped where the desktop
  // ends) and shows it; when `animated`, it fades in unless it was already visible.
  void ActivateHint(HintPoint anchor, const std::wstring& text, bool animated = true);
  void ReleaseHint();

  // What it shows now, and how many times it has faded in.
  const std::wstring& Text() const { return text_; }
  const std::optional<ComposedBalloon>& Balloon() const { return balloon_; }
  int FadeIns() const { return fade_ins_; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void UpdateImage(std::uint8_t opacity);

  HintKind kind_;
  UniqueFont font_;
  std::wstring text_;
  std::optional<ComposedBalloon> balloon_;
  DibSection picture_;  // what the window shows: the balloon with the shadow over the screen
  int fade_ins_ = 0;
};

// The desktop the balloon is kept within: the whole virtual screen.
HintRect DesktopRect();

}  // namespace kestrune
