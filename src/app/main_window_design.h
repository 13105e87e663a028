// The main window's design: its properties and every control with its kind, position, size,
// text and tab order, as one table.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "controls/control.h"
#include "supervision/setting_bindings.h"
#include "ui/form.h"

namespace kestrune {

inline const FormDesign kForm1Design{L"Kestrune v0.1 Pre-Beta Build", 417, 156, 396, 397};

// The outer size the window is held at, whatever the design asks for.
inline constexpr int kForm1FixedWidth = 397;
inline constexpr int kForm1FixedHeight = 396;

inline constexpr wchar_t kCreditsLine[] = L"Program was tested and checked by Morvell and Brakken";

enum class Form1Control {
  sLabel1,
  sLabel2,
  sLabel3,
  sLabel4,
  Label1,
  Label2,
  Label3,
  Button1,
  sFilenameEdit1,
  sEdit1,
  sStatusBar1,
  sFilenameEdit2,
  sSpinEdit1,
  sEdit2,
  sEdit3,
  Button2,
  sCheckBox1,
};
inline constexpr std::size_t kForm1ControlCount = 17;

struct ControlDesign {
  Form1Control name;
  const char* design_name;  // as the settings binding names it
  const char* kind;
  int left, top, width, height;
  const wchar_t* text;
  int tab_order;  // -1: never takes the focus
};

// In the order the design creates them; positions in the client area, 96-DPI pixels.
// clang-format off
inline constexpr std::array<ControlDesign, kForm1ControlCount> kForm1Controls{{
  // Name                         Design name       Kind             Left Top  W    H   Text                                            Tab
  {Form1Control::sLabel1,         "sLabel1",        "TsLabel",         64,  24, 142, 13, L"Выберите srcds.exe/hlds.exe",                 -1},
  {Form1Control::sLabel2,         "sLabel2",        "TsLabel",         72,  72, 103, 13, L"Параметры запуска",                           -1},
  {Form1Control::sLabel3,         "sLabel3",        "TsLabel",         56, 120, 159, 13, L"Укажите путь к файлу qstat.exe",              -1},
  {Form1Control::sLabel4,         "sLabel4",        "TsLabel",         32, 168, 234, 13, L"Укажите время проверки сервера в секундах",   -1},
  {Form1Control::Label1,          "Label1",         "TLabel",          32, 200,  61, 13, L"IP запросов",                                 -1},
  {Form1Control::Label2,          "Label2",         "TLabel",          32, 232,  76, 13, L"Порт запросов",                               -1},
  {Form1Control::Label3,          "Label3",         "TLabel",          64, 304, 271, 13, kCreditsLine,                                   -1},
  {Form1Control::Button1,         "Button1",        "TButton",         24, 272,  75, 25, L"Запустить",                                    0},
  {Form1Control::sFilenameEdit1,  "sFilenameEdit1", "TsFilenameEdit",  32,  40, 201, 21, L"",                                             1},
  {Form1Control::sEdit1,          "sEdit1",         "TsEdit",          32,  88, 201, 21, L"",                                             2},
  {Form1Control::sStatusBar1,     "sStatusBar1",    "TsStatusBar",      0, 327, 388, 19, L"",                                            -1},
  {Form1Control::sFilenameEdit2,  "sFilenameEdit2", "TsFilenameEdit",  32, 136, 201, 21, L"",                                             4},
  {Form1Control::sSpinEdit1,      "sSpinEdit1",     "TsSpinEdit",     288, 160,  65, 21, L"",                                             5},
  {Form1Control::sEdit2,          "sEdit2",         "TsEdit",         120, 192, 169, 21, L"",                                             6},
  {Form1Control::sEdit3,          "sEdit3",         "TsEdit",         120, 224, 169, 21, L"",                                             7},
  {Form1Control::Button2,         "Button2",        "TButton",        120, 272,  75, 25, L"Стоп",                                         8},
  {Form1Control::sCheckBox1,      "sCheckBox1",     "TsCheckBox",     224, 280, 130, 19, L"Автозапуск сервера",                           9},
}};
// clang-format on

// The menu bar: one item, N1 "Выход", that closes the window.
inline constexpr wchar_t kMenuN1Caption[] = L"Выход";
inline constexpr unsigned short kMenuN1Id = 100;  // clear of the dialog-key command ids

namespace form1_design_detail {

constexpr std::size_t RowsNamed(Form1Control name) {
  std::size_t count = 0;
  for (const ControlDesign& row : kForm1Controls) count += row.name == name;
  return count;
}

constexpr std::size_t RowsNamed(std::string_view design_name) {
  std::size_t count = 0;
  for (const ControlDesign& row : kForm1Controls) count += row.design_name == design_name;
  return count;
}

constexpr bool EveryControlOnce() {
  for (std::size_t name = 0; name < kForm1ControlCount; ++name) {
    if (RowsNamed(Form1Control(name)) != 1) return false;
  }
  for (const ControlDesign& row : kForm1Controls) {
    if (RowsNamed(std::string_view(row.design_name)) != 1) return false;
  }
  return true;
}
static_assert(EveryControlOnce(), "every control has exactly one design row");

constexpr bool EverySettingHeldByOneControl() {
  for (const SettingBinding& binding : kSettingBindings) {
    if (RowsNamed(std::string_view(binding.control)) != 1) return false;
  }
  return true;
}
static_assert(EverySettingHeldByOneControl(), "every setting is held by a control of the design");

}  // namespace form1_design_detail

constexpr const ControlDesign& DesignOf(Form1Control name) {
  for (const ControlDesign& row : kForm1Controls) {
    if (row.name == name) return row;
  }
  throw "control without a design row";  // unreachable: checked above
}

// The control that holds a setting's text, by the settings binding.
constexpr Form1Control ControlHolding(SettingField field) {
  const std::string_view held_by = BindingOf(field).control;
  for (const ControlDesign& row : kForm1Controls) {
    if (row.design_name == held_by) return row.name;
  }
  throw "setting without a control";  // unreachable: checked above
}

inline ControlPlacement PlacementOf(Form1Control name) {
  const ControlDesign& row = DesignOf(name);
  return {row.left, row.top, row.width, row.height, row.text};
}

}  // namespace kestrune
