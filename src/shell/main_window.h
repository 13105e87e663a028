// The main window: the six setting fields, Start and Stop, the auto-start box, the credits line,
// the status bar and the menu, at a fixed size. It is the supervisor's window.
#pragma once

#include "base/win32/unique_handle.h"
#include "controls/standard_controls.h"
#include "shell/form.h"
#include "supervision/supervisor.h"
#include "supervision/supervisor_window.h"

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

 private:
  void FormCreate() { supervisor_.FormCreate(); }
  void FormActivate();
  void N1Click() { Close(); }

  void DoActivate() override { FormActivate(); }
  void MenuCommand(WORD id) override;
  HWND FirstFocus() const override { return Button1.Handle(); }
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  TControl& Field(SettingField field) const;

  UniqueGdiObject font_;
  UniqueMenu menu_;
  // The controls in the order of the window's design.
  TButton Button1;
  TEdit sFilenameEdit1;
  TLabel sLabel1;
  TEdit sEdit1;
  TLabel sLabel2;
  TStatusBar sStatusBar1;
  TEdit sFilenameEdit2;
  TLabel sLabel3;
  TEdit sSpinEdit1;
  TLabel sLabel4;
  TLabel Label1;
  TLabel Label2;
  TEdit sEdit2;
  TEdit sEdit3;
  TButton Button2;
  TLabel Label3;
  TCheckBox sCheckBox1;
  Supervisor supervisor_;
};

}  // namespace kestrune
