// The skinned control kinds that need nothing beyond plain drawing in the design colours: the
// edit, the check box, the status bar and the label. Each names the skin section its look would
// come from; with no skin engine that name is all the skin data there is.
#pragma once

#include <string>

#include "controls/design_colors.h"
#include "controls/standard_controls.h"

namespace kestrune {

// Design colours (controls/design_colors.h): black edits with silver text, silver skinned
// captions.

// Skin data every skinned control owns; inert without a skin engine.
struct TsCommonData {
  std::string SkinSection;
  bool CustomColor = false;
  bool CustomFont = false;
};

// A single-line edit in the design colours.
class TsEdit : public TEdit {
 public:
  TsEdit(HWND parent, const ControlPlacement& placement, DWORD extra_style = 0);
  HBRUSH CtlColor(HDC dc) override;
  // With a skin the edit draws its own frame.
  void SetSkin(const SkinPainter* skin) override;
  TsCommonData SkinData{"EDIT"};

  bool ReadOnly() const;
  void SetReadOnly(bool read_only);

 protected:
  // For the kinds with a button inside their right edge, once subclassed: the whole text is
  // selected when the edit gets the focus, and LayoutInnerButton runs whenever the platform resets
  // the text area (a new size or font).
  LRESULT WindowMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  virtual bool HasInnerButton() const { return false; }
  virtual void LayoutInnerButton() {}

 private:
  UniqueBrush background_;
};

// A check box whose Checked, written by code, reports a click only on a change, and is ignored
// while the window is being built (until Loaded).
class TsCheckBox : public TCheckBox {
 public:
  using TCheckBox::TCheckBox;
  void SetChecked(bool checked) {
    if (loading_) return;
    TCheckBox::SetChecked(checked);
  }
  void Loaded() { loading_ = false; }
  TsCommonData SkinData{"CHECKBOX"};

 private:
  bool loading_ = true;
};

// A status bar without panels: every write of SimpleText shows at once as its only text, in one
// line ending in an ellipsis when it does not fit, beside the size grip.
class TsStatusBar : public TControl {
 public:
  TsStatusBar(HWND parent, const ControlPlacement& placement);
  const std::string& SimpleText() const { return simple_text_; }
  void SetSimpleText(const std::string& text);
  TsCommonData SkinData{"STATUSBAR"};

 private:
  LRESULT WindowMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Paint(HDC dc);
  std::string simple_text_;
};

// A transparent label in silver.
class TsLabel : public TLabel {
 public:
  using TLabel::TLabel;
  // The skin's caption colour with a skin, the design's silver without one.
  HBRUSH CtlColor(HDC dc) override;
  bool UseSkinColor = true;
};

}  // namespace kestrune
