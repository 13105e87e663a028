// The main window: the six setting fields, Start and Stop, the auto-start box, the credits line,
// the status bar and the menu, at a fixed size. It is the supervisor's window.
#pragma once

#include "base/win32/unique_handle.h"
#include "controls/filename_edit.h"
#include "controls/skinned_controls.h"
#include "controls/spin_edit.h"
#include "controls/standard_controls.h"
#include "shell/form.h"
#include "shell/main_window_design.h"
#include "supervision/supervisor.h"
#include "supervision/supervisor_window.h"
#include "tray/tray_icon.h"

namespace kestrune {

class TForm1 : public TForm, public SupervisorWindow {
 public:
  TForm1();
  ~TForm1() override;

  // SupervisorWindow
  std::string FieldText(SettingField field) const override;
  void SetFieldText(SettingField field, const std::string& text) override;
  bool AutoStartChecked() const override { return sCheckBox1.Checked(); }
  void SetAutoStartChecked(bool checked) override { sCheckBox1.SetChecked(checked); }
  void SetStatusText(const std::string& text) override { sStatusBar1.SetSimpleText(text); }
  void HideMainForm() override;

  void DoCreate() override { FormCreate(); }
  Supervisor& Controller() { return supervisor_; }
  TTrayIcon& TrayIcon() { return TrayIcon1; }
  // The window control of a design row, for the design's own checks.
  HWND ControlHandle(Form1Control name) const;

 private:
  void FormCreate() { supervisor_.FormCreate(); }
  void FormActivate() { Label3.SetWideText(kCreditsLine); }
  void N1Click() { Close(); }
  void TrayIcon1Click() { TrayIcon1.ShowMainForm(); }

  void DoActivate() override { FormActivate(); }
  void MenuCommand(WORD id) override;
  HWND FirstFocus() const override { return Button1.Handle(); }
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  TControl& Control(Form1Control name) const;
  TControl& Field(SettingField field) const;

  UniqueGdiObject font_;
  UniqueMenu MainMenu1;
  // The components in the design's declaration order.
  TButton Button1;
  TsFilenameEdit sFilenameEdit1;
  TsLabel sLabel1;
  TsEdit sEdit1;
  TsLabel sLabel2;
  TsStatusBar sStatusBar1;
  TsFilenameEdit sFilenameEdit2;
  TsLabel sLabel3;
  TsSpinEdit sSpinEdit1;
  TsLabel sLabel4;
  TLabel Label1;
  TLabel Label2;
  TsEdit sEdit2;
  TsEdit sEdit3;
  TButton Button2;
  TLabel Label3;
  TsCheckBox sCheckBox1;
  TTrayIcon TrayIcon1;
  Supervisor supervisor_;  // owns Timer1
};

}  // namespace kestrune
