#include "base/win32/prelude.h"

#include "supervision/settings_file.h"

#include "base/path_text.h"
#include "base/win32/file_system.h"
#include "supervision/ini_file.h"

namespace kestrune {
namespace {

constexpr char kMainSection[] = "Main";
constexpr char kSettingsSection[] = "Settings";
constexpr char kAutoStartKey[] = "AutoStart";

}  // namespace

std::string SettingsPathBesideExecutable() {
  return DirectoryPart(ExecutablePath()) + kSettingsFileName;
}

std::string LoadSettings(SupervisorWindow& window, const std::string& path) {
  const TIniFile ini(path);
  if (IsExistingFile(path)) {
    for (const SettingBinding& binding : BindingsInLoadOrder()) {
      window.SetFieldText(binding.field, ini.ReadString(kMainSection, binding.key, ""));
    }
  } else {
    for (const SettingBinding& binding : kSettingBindings) {
      ini.WriteString(kMainSection, binding.key, "");
    }
  }
  return ini.ReadString(kSettingsSection, kAutoStartKey, "0");
}

void SaveSettings(const SupervisorWindow& window, const std::string& path) {
  const TIniFile ini(path);
  for (const SettingBinding& binding : kSettingBindings) {
    ini.WriteString(kMainSection, binding.key, window.FieldText(binding.field));
  }
}

void SaveAutoStart(bool checked, const std::string& path) {
  TIniFile(path).WriteString(kSettingsSection, kAutoStartKey, checked ? "1" : "0");
}

WatchdogSettingsRead LoadWatchdogSettings(const std::string& path) {
  const TIniFile ini(path);
  // The profile function answers an absent key with the default: one no file can hold.
  const std::string absent =
      "\x01"
      "absent"
      "\x01";
  return ReadWatchdogSettings([&](const char* key) -> std::optional<std::string> {
    std::string value = ini.ReadString(kWatchdogSection, key, absent);
    if (value == absent) return std::nullopt;
    return value;
  });
}

}  // namespace kestrune
