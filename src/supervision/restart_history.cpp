#include "base/win32/prelude.h"

#include "supervision/restart_history.h"

#include "base/path_text.h"
#include "base/win32/file_system.h"
#include "base/win32/unique_handle.h"
#include "supervision/history_rules.h"

namespace kestrune {
namespace {

HistoryTime LocalNow() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

// Moves a history past its cap to the earlier generation, replacing the one there.
void RotateWhenFull(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return;
  const std::uint64_t size = (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  if (size <= kHistoryCapBytes) return;
  ::MoveFileExA(path.c_str(), (path + kEarlierHistorySuffix).c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

std::string RestartHistory::PathBesideExecutable() {
  return DirectoryPart(ExecutablePath()) + kHistoryFileName;
}

bool RestartHistory::Add(std::string_view text) const noexcept {
  try {
    const std::string path = path_();
    RotateWhenFull(path);
    const std::string line = HistoryLine(LocalNow(), text);
    // Others may read the history, and even write it, while a line goes in.
    const UniqueFile file(::CreateFileA(path.c_str(), FILE_APPEND_DATA,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return ::WriteFile(file.get(), line.data(), DWORD(line.size()), &written, nullptr) &&
           written == line.size();
  } catch (...) {
    return false;  // out of memory for a line: the history goes without it
  }
}

}  // namespace kestrune
