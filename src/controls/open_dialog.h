// The open-file dialog a file-name edit keeps for its whole life.
#pragma once

#include "base/win32/prelude.h"

#include <commdlg.h>

#include <string>
#include <utility>

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

}  // namespace kestrune
