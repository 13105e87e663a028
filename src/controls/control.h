// The base of every control kind: a child window of a platform control class at its design
// position, whose commands the parent form reflects back to it.
#pragma once

#include "base/win32/prelude.h"

#include <functional>
#include <optional>
#include <string>

#include "base/win32/unique_handle.h"
#include "skin/skin_painter.h"
#include "ui/command_target.h"
#include "ui/scoped_subclass.h"

namespace kestrune {

// Where a control sits and what it shows, in 96-DPI pixels of the parent's client area.
struct ControlPlacement {
  int left, top, width, height;
  std::wstring text;
};

// Whether the mouse is over a window: follows WM_MOUSEMOVE and WM_MOUSELEAVE, asking for the
// leave once per entry. True when the state changed.
class HotTracking {
 public:
  bool Follow(HWND window, UINT message);
  bool Hot() const { return hot_; }

 private:
  bool hot_ = false;
};

// The font a window draws its text in.
HFONT FontOf(HWND window);

class TControl : public CommandTarget {
 public:
  virtual ~TControl() = default;
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  HWND Handle() const { return handle_.get(); }

  // The text as an ANSI byte string, as the settings keep it.
  std::string Text() const;
  void SetText(const std::string& text);
  // The text as the operator reads it.
  std::wstring WideText() const;
  void SetWideText(const std::wstring& text);

  void SetFont(HFONT font);

  // Paints the control in the skin's look from now on; nullptr: plain drawing in the design's
  // colours. The painter outlives the control.
  virtual void SetSkin(const SkinPainter* skin);
  const SkinPainter* Skin() const { return skin_; }

 protected:
  TControl(HWND parent, const wchar_t* window_class, DWORD style, DWORD ex_style,
           const ControlPlacement& placement);

  // Routes the control's own messages through WindowMessage (behind an exception barrier), for
  // kinds that change how the platform control handles keys, the mouse or painting.
  void Subclass();
  // The default passes the message on to the platform control.
  virtual LRESULT WindowMessage(UINT message, WPARAM wparam, LPARAM lparam);
  bool Subclassed() const { return subclass_.has_value(); }

 private:
  const SkinPainter* skin_ = nullptr;
  // Declared in the order they are undone backwards: the subclass and the link go before the
  // window.
  UniqueHwnd handle_;
  CommandTargetLink link_;
  std::optional<ScopedSubclass> subclass_;
};

}  // namespace kestrune
