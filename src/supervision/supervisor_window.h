// What the supervisor needs of the main window: its six setting fields, the auto-start box, the
// status line and hiding to the tray. The main window implements it; tests give a double.
#pragma once

#include <string>

namespace kestrune {

// The six setting fields, by the role they play. Texts are ANSI byte strings, as typed.
enum class SettingField {
  kServerPath,        // sFilenameEdit1
  kQueryToolPath,     // sFilenameEdit2
  kAdditionalParams,  // sEdit1
  kQueryIp,           // sEdit2
  kQueryPort,         // sEdit3
  kDelay,             // sSpinEdit1
};

class SupervisorWindow {
 public:
  virtual std::string FieldText(SettingField field) const = 0;
  virtual void SetFieldText(SettingField field, const std::string& text) = 0;

  // sCheckBox1. Setting it to a new state fires the box's click handler, which the window routes
  // to the supervisor's sCheckBox1Click; setting the state it already has does nothing.
  virtual bool AutoStartChecked() const = 0;
  virtual void SetAutoStartChecked(bool checked) = 0;

  // sStatusBar1: each text replaces the last and shows at once.
  virtual void SetStatusText(const std::string& text) = 0;

  // Hides the main window together with its taskbar button; the tray icon brings it back.
  virtual void HideMainForm() = 0;

 protected:
  ~SupervisorWindow() = default;
};

}  // namespace kestrune
