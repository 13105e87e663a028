#include "controls/browse_rules.h"

#include "base/path_text.h"

namespace kestrune {

bool IsValidFileName(std::string_view name) {
  return !name.empty() && name.find_first_of("<>\"|*?/") == std::string_view::npos;
}

std::string InitialDirFor(std::string_view folder) {
  if (folder.size() >= 2 && folder.back() == '\\' && folder[folder.size() - 2] != ':') {
    folder.remove_suffix(1);
  }
  return std::string(folder);
}

std::optional<BrowsePreset> PresetFor(std::string_view candidate,
                                      const std::function<bool(const std::string&)>& is_directory) {
  if (!IsValidFileName(candidate)) return std::nullopt;
  BrowsePreset preset;
  const std::string folder = DirectoryPart(candidate);
  if (!folder.empty() && is_directory(folder)) preset.initial_dir = InitialDirFor(folder);
  // A name cut to fit the buffer would be another file's name.
  if (IsValidFileName(FileNamePart(candidate)) && candidate.size() < kDialogFileNameCapacity) {
    preset.file_name = std::string(candidate);
  }
  return preset;
}

std::string InitialDirAfterOk(std::string_view chosen) {
  return InitialDirFor(DirectoryPart(chosen));
}

std::string DialogFilter(std::string_view filter) {
  std::string result(filter);
  for (char& c : result) {
    if (c == '|') c = '\0';
  }
  result.append(2, '\0');
  return result;
}

}  // namespace kestrune
