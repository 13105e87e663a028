// The binding of the settings to the window: each [Main] key of the settings file, the field the
// supervisor knows it by, and the design name of the control that holds it. Every lookup between
// the three is derived from this one table.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace kestrune {

// The six setting fields, by the role they play. Texts are ANSI byte strings, as typed.
enum class SettingField {
  kServerPath,
  kQueryToolPath,
  kAdditionalParams,
  kQueryIp,
  kQueryPort,
  kDelay,
};
inline constexpr std::size_t kSettingFieldCount = 6;

struct SettingBinding {
  SettingField field;
  const char* key;      // in [Main]
  const char* control;  // the main window's control that holds the text
  int load_rank;        // when a load fills this field: 0 first
};

// In the order the file holds the keys, which is the order every save writes them (and the order
// in which a missing file is created). A load fills the fields in another order, the server's line
// (its path and parameters) before the query tool's; each field is set once either way, so only
// the order of the fields' change notifications follows from it, and it is kept as the files
// written so far were read.
// clang-format off
inline constexpr std::array<SettingBinding, kSettingFieldCount> kSettingBindings{{
  // Field                            Key                 Control           Load
  {SettingField::kServerPath,        "ServerPath",       "sFilenameEdit1", 0},
  {SettingField::kQueryToolPath,     "QstatsPath",       "sFilenameEdit2", 2},
  {SettingField::kAdditionalParams,  "AdditionalParams", "sEdit1",         1},
  {SettingField::kQueryIp,           "QueryIP",          "sEdit2",         3},
  {SettingField::kQueryPort,         "QueryPort",        "sEdit3",         4},
  {SettingField::kDelay,             "Delay",            "sSpinEdit1",     5},
}};
// clang-format on

namespace setting_bindings_detail {

// Every field, key, control and load rank appears exactly once.
constexpr bool EachOnce() {
  for (std::size_t i = 0; i < kSettingBindings.size(); ++i) {
    const SettingBinding& a = kSettingBindings[i];
    if (std::size_t(a.field) >= kSettingFieldCount) return false;
    if (a.load_rank < 0 || std::size_t(a.load_rank) >= kSettingFieldCount) return false;
    for (std::size_t j = i + 1; j < kSettingBindings.size(); ++j) {
      const SettingBinding& b = kSettingBindings[j];
      if (a.field == b.field || a.load_rank == b.load_rank) return false;
      if (std::string_view(a.key) == b.key || std::string_view(a.control) == b.control) {
        return false;
      }
    }
  }
  return true;
}
static_assert(EachOnce(), "every setting is bound exactly once");

}  // namespace setting_bindings_detail

constexpr const SettingBinding& BindingOf(SettingField field) {
  for (const SettingBinding& binding : kSettingBindings) {
    if (binding.field == field) return binding;
  }
  throw "unbound setting field";  // unreachable: the table binds every field, checked above
}

// The bindings in the order a load fills the fields.
constexpr std::array<SettingBinding, kSettingFieldCount> BindingsInLoadOrder() {
  std::array<SettingBinding, kSettingFieldCount> ordered{};
  for (const SettingBinding& binding : kSettingBindings) ordered[binding.load_rank] = binding;
  return ordered;
}

}  // namespace kestrune
