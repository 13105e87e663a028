#include "base/win32/prelude.h"

#include "supervision/settings_file.h"

#include <array>

#include "base/path_text.h"
#include "supervision/ini_file.h"

namespace kestrune {
namespace {

constexpr char kMainSection[] = "Main";
constexpr char kSettingsSection[] = "Settings";
constexpr char kAutoStartKey[] = "AutoStart";

struct MainKey {
  const char* key;
  SettingField field;
};

// In the order the keys are written.
constexpr std::array<MainKey, 6> kMainKeys{{
    {"ServerPath", SettingField::kServerPath},
    {"QstatsPath", SettingField::kQueryToolPath},
    {"AdditionalParams", SettingField::kAdditionalParams},
    {"QueryIP", SettingField::kQueryIp},
    {"QueryPort", SettingField::kQueryPort},
    {"Delay", SettingField::kDelay},
}};

// The order in which a load fills the fields.
constexpr std::array<std::size_t, 6> kLoadOrder{0, 2, 1, 3, 4, 5};

bool IsExistingFile(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::string SettingsPathBesideExecutable() {
  std::string module(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameA(nullptr, module.data(), DWORD(module.size()));
    if (length < module.size()) {
      module.resize(length);
      break;
    }
    module.resize(module.size() * 2);  // the path was cut: ask again with room for all of it
  }
  return DirectoryPart(module) + kSettingsFileName;
}

std::string LoadSettings(SupervisorWindow& window, const std::string& path) {
  const TIniFile ini(path);
  if (IsExistingFile(path)) {
    for (std::size_t index : kLoadOrder) {
      const MainKey& entry = kMainKeys[index];
      window.SetFieldText(entry.field, ini.ReadString(kMainSection, entry.key, ""));
    }
  } else {
    for (const MainKey& entry : kMainKeys) ini.WriteString(kMainSection, entry.key, "");
  }
  return ini.ReadString(kSettingsSection, kAutoStartKey, "0");
}

void SaveSettings(const SupervisorWindow& window, const std::string& path) {
  const TIniFile ini(path);
  for (const MainKey& entry : kMainKeys) {
    ini.WriteString(kMainSection, entry.key, window.FieldText(entry.field));
  }
}

void SaveAutoStart(bool checked, const std::string& path) {
  TIniFile(path).WriteString(kSettingsSection, kAutoStartKey, checked ? "1" : "0");
}

}  // namespace kestrune
