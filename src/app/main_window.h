// The main window: the six setting fields, Start and Stop, the auto-start box, the credits line,
// the status bar and the menu, at a fixed size. It is the supervisor's window.
#pragma once

#include <optional>

#include "app/main_window_design.h"
#include "base/win32/unique_handle.h"
#include "controls/filename_edit.h"
#include "controls/hint_manager.h"
#include "controls/skinned_controls.h"
#include "controls/spin_edit.h"
#include "controls/standard_controls.h"
#include "skin/skin_painter.h"
#include "supervision/supervisor.h"
#include "supervision/supervisor_window.h"
#include "tray/tray_icon.h"
#include "ui/form.h"

namespace kestrune {

class TForm1 final : public TForm, public SupervisorWindow {
 public:
  // The "Cold" skin's look unless asked for plain drawing in the design's colours.
  explicit TForm1(Look look = Look::kCold);
  Look CurrentLook() const { return skin_ ? Look::kCold : Look::kPlain; }

  // SupervisorWindow
  std::string FieldText(SettingField field) const override;
  void SetFieldText(SettingField field, const std::string& text) override;
  bool AutoStartChecked() const override { return parts_->sCheckBox1.Checked(); }
  void SetAutoStartChecked(bool checked) override { parts_->sCheckBox1.SetChecked(checked); }
  void SetStatusText(const std::string& text) override { parts_->sStatusBar1.SetSimpleText(text); }
  void HideMainForm() override;

  void DoCreate() override { FormCreate(); }
  Supervisor& Controller() { return parts_->supervisor; }
  TTrayIcon& TrayIcon() { return parts_->TrayIcon1; }
  TsHintManager& HintManager() { return parts_->sHintManager1; }
  // The window control of a design row.
  HWND ControlHandle(Form1Control name) const;

 private:
  // Everything on the window, in the design's declaration order, built once the window exists.
  struct Components {
    explicit Components(TForm1& form);

    UniqueFont font;  // first: it outlives every control that shows it
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
    TsHintManager sHintManager1;
    TTrayIcon TrayIcon1;
    Supervisor supervisor;  // owns Timer1, the check timer
  };

  // The design's handlers, each forwarding to what it does.
  void FormCreate() { parts_->supervisor.LoadAtStart(); }
  void FormActivate() { parts_->Label3.SetWideText(kCreditsLine); }
  void Button1Click() { parts_->supervisor.StartSupervision(); }
  void Button2Click() { parts_->supervisor.StopSupervision(); }
  void sCheckBox1Click() { parts_->supervisor.AutoStartChanged(); }
  void Timer1Timer() { parts_->supervisor.Check(); }
  void N1Click() { Close(); }
  void TrayIcon1Click() { parts_->TrayIcon1.ShowMainForm(); }

  void DoActivate() override { FormActivate(); }
  void MenuCommand(WORD id) override;
  HWND FirstFocus() const override { return parts_->Button1.Handle(); }
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  void ConfigureTrayIcon();
  void ConfigureHintManager();
  void AttachMenu();
  void ApplyDesignFontAndTabOrder();
  void AlignStatusBar();
  void AutoSizeCaptions();
  void ApplyLook(Look look);
  TControl& Control(Form1Control name) const;

  std::optional<SkinPainter> skin_;  // before the controls it paints, so it outlives them
  std::optional<Components> parts_;  // empty until the window exists
};

}  // namespace kestrune
