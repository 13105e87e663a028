// The file-name edit: a skinned edit with a browse button inside its right edge that picks a file
// through the open-file dialog.
#pragma once

#include "base/win32/prelude.h"

#include <commdlg.h>

#include <functional>
#include <string>
#include <utility>

#include "controls/skinned_controls.h"
#include "shell/window_base.h"

namespace kestrune {

// The open-file dialog an edit keeps for its whole life, so the folder and the file name of one
// browse carry over to the next.
class TsOpenDialog {
 public:
  const std::string& InitialDir() const { return initial_dir_; }
  void SetInitialDir(std::string dir) { initial_dir_ = std::move(dir); }
  const std::string& FileName() const { return file_name_; }
  void SetFileName(std::string name) { file_name_ = std::move(name); }
  const std::string& Filter() const { return filter_; }
  int FilterIndex() const { return filter_index_; }
  DWORD Options() const { return options_; }

  // Runs the dialog modal to `owner`. True on OK, with FileName the chosen file's full path; a
  // dialog that fails to open counts as Cancel.
  bool Execute(HWND owner);

 private:
  std::string initial_dir_;
  std::string file_name_;
  std::string filter_ = "All files (*.*)|*.*";
  int filter_index_ = 1;
  DWORD options_ = OFN_HIDEREADONLY | OFN_ENABLESIZING;
};

// The browse button: a flat button that shows its glyph's normal, hot or pressed frame and
// reports a press released over it. It never takes the focus.
class TsEditButton : private WindowBase {
 public:
  static constexpr int kGlyphSize = 16;
  // One glyph frame plus 2 pixels.
  static constexpr int kWidth = kGlyphSize + 2;

  explicit TsEditButton(HWND parent);
  ~TsEditButton() override;

  HWND Handle() const { return WindowBase::Handle(); }
  std::function<void()> OnClick;

 private:
  enum Frame { kNormal, kHot, kPressed };

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Paint(HDC dc);
  void SetState(bool hot, bool pressed);

  UniqueGdiObject glyph_;  // 48 x 16: the three frames side by side
  UniqueGdiObject mask_;   // the same size, one bit a pixel: set where the glyph is transparent
  bool hot_ = false;
  bool pressed_ = false;
};

class TsFilenameEdit : public TsEdit {
 public:
  static constexpr int kMaxLength = 255;

  TsFilenameEdit(HWND parent, const ControlPlacement& placement);

  bool ReadOnly() const;
  void SetReadOnly(bool read_only);

  // Picks a file through the dialog, as a click on the button or Alt+Down does.
  void BrowseForFile();

  std::function<void()> OnButtonClick;
  // With the candidate name and the go-ahead flag; either may be changed, a cleared flag stops.
  std::function<void(std::string& name, bool& go)> OnBeforeDialog;
  // With the candidate (the chosen file after OK) and the result; either may be changed.
  std::function<void(std::string& name, bool& ok)> OnAfterDialog;

  const TsOpenDialog& Dialog() const { return dialog_; }
  HWND ButtonHandle() const { return button_.Handle(); }

 private:
  LRESULT WindowMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Layout();
  void Paste();
  bool CanFocus() const;

  TsOpenDialog dialog_;
  TsEditButton button_;  // last: its window goes before anything it could reach
};

}  // namespace kestrune
