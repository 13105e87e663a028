// The hint manager: it watches the mouse messages of the GUI thread's message loops and, after a
// pause over a control that has a hint, shows that hint as a comic balloon below the cursor, until
// the hide pause has passed or the mouse leaves the control. Hints are off while a speed button
// is held down.
#pragma once

#include "base/win32/prelude.h"

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "base/win32/unique_handle.h"
#include "base/win32/window_registrations.h"
#include "controls/hint_balloon_rules.h"
#include "controls/hint_switch.h"
#include "controls/hint_window.h"
#include "ui/window_base.h"

namespace kestrune {

enum class THintPredefinitions : std::uint8_t { shCustom, shEllipse };
enum class TMousePosition : std::uint8_t { mpLeftTop };

class TsHintManager final : private WindowBase {
 public:
  TsHintManager();
  ~TsHintManager() override;

  // The published settings, at the class defaults until the window's design sets them.
  kestrune::HintKind HintKind;
  THintPredefinitions Predefinitions = THintPredefinitions::shEllipse;
  int PauseHide = kHintHidePauseMs;
  bool Animated = true;
  TMousePosition DefaultMousePos = TMousePosition::mpLeftTop;
  bool HTMLMode = false;
  bool UseSkinData = false;
  std::string SkinSection;

  // Called before a hint shows, with the text it will show; it may change the text or refuse.
  std::function<void(std::wstring& text, bool& can_show)> OnShowHint;

  // The hint of a control: shown for it and for the windows inside it. An empty text removes it.
  void SetHint(HWND control, std::wstring text);

  // The window's description has been read: takes over the application's hints from now on.
  void Loaded();

  // The hint window, once a hint has been shown.
  const THintWindow* HintWindow() const { return window_ ? &*window_ : nullptr; }
  // The control whose hint is pending or showing.
  HWND HintControl() const { return hint_control_; }

  // How far below the hot spot the current cursor's visible part ends, in pixels.
  static int CursorHeightMargin();

 private:
  static LRESULT CALLBACK GetMessageHook(int code, WPARAM wparam, LPARAM lparam) noexcept;
  void HintMouseMessage(const MSG& message);
  void MouseMoved(HWND window);
  HWND HintControlOf(HWND window) const;
  void ShowPendingHint();
  void HideHint();
  void CancelHint();
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  std::map<HWND, std::wstring> hints_;
  HWND hint_control_ = nullptr;
  bool hint_active_ = false;  // a hint has shown since the mouse came to a control with a hint
  UniqueTimer show_timer_;
  UniqueTimer hide_timer_;
  std::optional<THintWindow> window_;
  std::optional<HintSwitchListener> switch_listener_;
  UniqueHook hook_;  // last: it goes first, so no message reaches a manager half gone
};

}  // namespace kestrune
