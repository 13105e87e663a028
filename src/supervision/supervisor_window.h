// What the supervisor needs of the main window: its six setting fields, the auto-start box, the
// status line and hiding to the tray. The main window implements it; tests give a double.
#pragma once

#include <string>

#include "supervision/setting_bindings.h"

namespace kestrune {

class SupervisorWindow {
 public:
  virtual std::string FieldText(SettingField field) const = 0;
  virtual void SetFieldText(SettingField field, const std::string& text) = 0;

  // sCheckBox1. Setting it to a new state fires the box's click handler, which the window routes
  // to the supervisor's AutoStartChanged; setting the state it already has does nothing.
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
