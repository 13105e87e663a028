// The file-name edit's browse rules, apart from any window: which texts can preset the open-file
// dialog, and where the dialog starts.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kestrune {

// The dialog's file-name buffer, in characters with the terminating NUL.
inline constexpr std::size_t kDialogFileNameCapacity = 260;

// Not empty and free of the characters < > " | * ? /.
bool IsValidFileName(std::string_view name);

// A folder as the dialog's InitialDir: a trailing "\" goes unless it follows ":", so a drive root
// ("C:\") and the root of the current drive ("\") keep it and any other folder loses it.
std::string InitialDirFor(std::string_view folder);

// What a candidate changes in the dialog before it runs.
struct BrowsePreset {
  std::optional<std::string> initial_dir;  // none: the previous browse's folder stays
  std::string file_name;                   // the candidate, or empty when it names no file
};

// The preset for `candidate`, or none when it is not a valid file name, in which case the dialog
// keeps both its file name and its InitialDir from the previous browse. `is_directory` is asked
// about the candidate's folder part only when there is one. A candidate that does not fit the
// dialog's buffer presets no name, as one naming no file does.
std::optional<BrowsePreset> PresetFor(std::string_view candidate,
                                      const std::function<bool(const std::string&)>& is_directory);

// Where the next browse starts after OK with `chosen`, the full path the dialog returned.
std::string InitialDirAfterOk(std::string_view chosen);

// A "|"-separated filter in the dialog's form: NUL-separated, ending in two NULs.
std::string DialogFilter(std::string_view filter);

}  // namespace kestrune
