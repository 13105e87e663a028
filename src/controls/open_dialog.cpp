#include "controls/open_dialog.h"

#include <array>

#include "controls/browse_rules.h"

namespace kestrune {

bool TsOpenDialog::Execute(HWND owner) {
  std::array<char, kDialogFileNameCapacity> buffer{};
  // A name that does not fit opens the dialog without one rather than cut to another name.
  if (file_name_.size() < buffer.size()) file_name_.copy(buffer.data(), file_name_.size());
  const std::string filter = DialogFilter(filter_);
  OPENFILENAMEA info{};
  info.lStructSize = sizeof info;
  info.hwndOwner = owner;
  info.lpstrFilter = filter.c_str();
  info.nFilterIndex = DWORD(filter_index_);
  info.lpstrFile = buffer.data();
  info.nMaxFile = DWORD(buffer.size());
  info.lpstrInitialDir = initial_dir_.empty() ? nullptr : initial_dir_.c_str();
  // The working directory stays where Kestrune was started: every server starts there, however
  // the operator browsed.
  info.Flags = options_ | OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (!::GetOpenFileNameA(&info)) return false;
  file_name_ = buffer.data();
  return true;
}

}  // namespace kestrune
