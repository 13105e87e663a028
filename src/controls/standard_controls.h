// The plain control kinds: push button, label, edit and check box. With a skin, the push button
// and the check box are drawn by the skin (owner-drawn, with a hot state of their own) and the
// label takes the skin's text colours; without one they are the platform's.
#pragma once

#include "controls/control.h"

namespace kestrune {

class TButton : public TControl {
 public:
  TButton(HWND parent, const ControlPlacement& placement);
  std::function<void()> OnClick;
  void HandleCommand(WORD code) override {
    if (code == BN_CLICKED && OnClick) OnClick();
  }
  void SetSkin(const SkinPainter* skin) override;
  bool DrawItem(const DRAWITEMSTRUCT& item) override;
  bool Hot() const { return hot_.Hot(); }

 private:
  LRESULT WindowMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  HotTracking hot_;
};

class TLabel : public TControl {
 public:
  TLabel(HWND parent, const ControlPlacement& placement)
      : TControl(parent, L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, placement) {}
  HBRUSH CtlColor(HDC dc) override;

  // AutoSize: keeps its left and top and takes the width (and at least the height) of its
  // caption in the font it shows.
  void AutoSize();
};

class TEdit : public TControl {
 public:
  TEdit(HWND parent, const ControlPlacement& placement, DWORD extra_style = 0)
      : TControl(parent, L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL | extra_style, WS_EX_CLIENTEDGE,
                 placement) {}
  void SetMaxLength(int length) { ::SendMessageW(Handle(), EM_LIMITTEXT, length, 0); }
};

// A check box whose state changes only through SetChecked, so OnClick fires once for every
// change, from a click or from code alike, and never without one.
class TCheckBox : public TControl {
 public:
  TCheckBox(HWND parent, const ControlPlacement& placement)
      : TControl(parent, L"BUTTON", WS_TABSTOP | BS_CHECKBOX, 0, placement) {
    Subclass();
  }

  bool Checked() const { return ::SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void SetChecked(bool checked) {
    if (checked == Checked()) return;
    ::SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (OnClick) OnClick();
  }
  std::function<void()> OnClick;

  void HandleCommand(WORD code) override {
    if (code == BN_CLICKED) SetChecked(!Checked());
  }
  void SetSkin(const SkinPainter* skin) override;
  bool DrawItem(const DRAWITEMSTRUCT& item) override;
  HBRUSH CtlColor(HDC dc) override;
  bool Hot() const { return hot_.Hot(); }

  // AutoSize: keeps its place and height and is as wide as the box and its whole caption.
  void AutoSize();

 private:
  LRESULT WindowMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  HotTracking hot_;
  bool checked_ = false;  // the state while the skin draws the box
};

// The width of `text` in the font the control shows.
int CaptionWidth(HWND control, const std::wstring& text);

}  // namespace kestrune
