// The file-name edit: a skinned edit with a browse button inside its right edge that picks a file
// through the open-file dialog.
#pragma once

#include "base/win32/prelude.h"

#include <functional>
#include <string>

#include "controls/edit_button.h"
#include "controls/open_dialog.h"
#include "controls/skinned_controls.h"

namespace kestrune {

class TsFilenameEdit : public TsEdit {
 public:
  static constexpr int kMaxLength = 255;

  TsFilenameEdit(HWND parent, const ControlPlacement& placement);

  // Picks a file through the dialog, as a click on the button or Alt+Down does.
  void BrowseForFile();

  std::function<void()> OnButtonClick;
  // With the candidate name and the go-ahead flag; either may be changed, a cleared flag stops.
  std::function<void(std::string& name, bool& go)> OnBeforeDialog;
  // With the candidate (the chosen file after OK) and the result; either may be changed.
  std::function<void(std::string& name, bool& ok)> OnAfterDialog;

  const TsOpenDialog& Dialog() const { return dialog_; }
  HWND ButtonHandle() const { return button_.Handle(); }
  void SetSkin(const SkinPainter* skin) override;

 private:
  bool HasInnerButton() const override { return true; }
  LRESULT WindowMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void LayoutInnerButton() override;
  void Paste();
  bool CanFocus() const;

  TsOpenDialog dialog_;
  TsEditButton button_;  // last: its window goes before anything it could reach
};

}  // namespace kestrune
