// The plain control kinds: push button, label, edit and check box.
#pragma once

#include "controls/control.h"

namespace kestrune {

class TButton : public TControl {
 public:
  TButton(HWND parent, const ControlPlacement& placement)
      : TControl(parent, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, placement) {}
  std::function<void()> OnClick;
  void HandleCommand(WORD code) override {
    if (code == BN_CLICKED && OnClick) OnClick();
  }
};

class TLabel : public TControl {
 public:
  TLabel(HWND parent, const ControlPlacement& placement)
      : TControl(parent, L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, placement) {}
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
      : TControl(parent, L"BUTTON", WS_TABSTOP | BS_CHECKBOX, 0, placement) {}

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
};

}  // namespace kestrune
