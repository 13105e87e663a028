#include "shell/main_window.h"

#include "shell/application.h"

namespace kestrune {
namespace {

// "MS Sans Serif", 8 points at 96 pixels per inch.
HFONT CreateWindowFont() {
  return ::CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
}

}  // namespace

TForm1::TForm1()
    : TForm(kForm1Design),
      font_(CreateWindowFont()),
      MainMenu1(::CreateMenu()),
      Button1(Handle(), PlacementOf(Form1Control::Button1)),
      sFilenameEdit1(Handle(), PlacementOf(Form1Control::sFilenameEdit1)),
      sLabel1(Handle(), PlacementOf(Form1Control::sLabel1)),
      sEdit1(Handle(), PlacementOf(Form1Control::sEdit1)),
      sLabel2(Handle(), PlacementOf(Form1Control::sLabel2)),
      sStatusBar1(Handle(), PlacementOf(Form1Control::sStatusBar1)),
      sFilenameEdit2(Handle(), PlacementOf(Form1Control::sFilenameEdit2)),
      sLabel3(Handle(), PlacementOf(Form1Control::sLabel3)),
      sSpinEdit1(Handle(), PlacementOf(Form1Control::sSpinEdit1)),
      sLabel4(Handle(), PlacementOf(Form1Control::sLabel4)),
      Label1(Handle(), PlacementOf(Form1Control::Label1)),
      Label2(Handle(), PlacementOf(Form1Control::Label2)),
      sEdit2(Handle(), PlacementOf(Form1Control::sEdit2)),
      sEdit3(Handle(), PlacementOf(Form1Control::sEdit3)),
      Button2(Handle(), PlacementOf(Form1Control::Button2)),
      Label3(Handle(), PlacementOf(Form1Control::Label3)),
      sCheckBox1(Handle(), PlacementOf(Form1Control::sCheckBox1)),
      TrayIcon1(this),
      supervisor_(*this) {
  // The tray icon's design, in the order it is stored: the icon is in the tray from here on,
  // while the window is still being built.
  TrayIcon1.SetCycleInterval(0);
  TrayIcon1.SetHint("Kestrune");
  TrayIcon1.SetIcon(TApplication::Icon());
  TrayIcon1.SetIconVisible(true);
  TrayIcon1.SetIconIndex(0);
  TrayIcon1.OnClick = [this] { TrayIcon1Click(); };
  TrayIcon1.Loaded();

  ::AppendMenuW(MainMenu1.get(), MF_STRING, kMenuN1Id, kMenuN1Caption);
  ::SetMenu(Handle(), MainMenu1.get());

  // The design's window font everywhere; the status bar keeps the system's status font.
  for (const ControlDesign& row : kForm1Controls) {
    if (row.name != Form1Control::sStatusBar1) {
      Control(row.name).SetFont(static_cast<HFONT>(font_.get()));
    }
  }
  // Tab order: the focusable controls by their order number, through the z-order.
  HWND previous = HWND_TOP;
  for (int order = 0; order < int(kForm1Controls.size()); ++order) {
    for (const ControlDesign& row : kForm1Controls) {
      if (row.tab_order != order) continue;
      ::SetWindowPos(Control(row.name).Handle(), previous, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      previous = Control(row.name).Handle();
    }
  }

  Button1.OnClick = [this] { supervisor_.Button1Click(); };
  Button2.OnClick = [this] { supervisor_.Button2Click(); };
  sCheckBox1.OnClick = [this] { supervisor_.sCheckBox1Click(); };

  // The window was created before this class could answer WM_GETMINMAXINFO: ask for the design
  // size again, now under the fixed limits.
  ::SetWindowPos(Handle(), nullptr, 0, 0, kForm1Design.width, kForm1Design.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::SendMessageW(sStatusBar1.Handle(), WM_SIZE, 0, 0);

  // Building is over: from here on, code that sets the box or the spin value takes effect.
  sCheckBox1.Loaded();
  sSpinEdit1.Loaded();
}

TForm1::~TForm1() {
  // The menu is the window's until the window goes; MainMenu1 destroys it afterwards.
  ::SetMenu(Handle(), nullptr);
}

TControl& TForm1::Control(Form1Control name) const {
  auto& self = const_cast<TForm1&>(*this);
  switch (name) {
    case Form1Control::sLabel1:
      return self.sLabel1;
    case Form1Control::sLabel2:
      return self.sLabel2;
    case Form1Control::sLabel3:
      return self.sLabel3;
    case Form1Control::sLabel4:
      return self.sLabel4;
    case Form1Control::Label1:
      return self.Label1;
    case Form1Control::Label2:
      return self.Label2;
    case Form1Control::Label3:
      return self.Label3;
    case Form1Control::Button1:
      return self.Button1;
    case Form1Control::sFilenameEdit1:
      return self.sFilenameEdit1;
    case Form1Control::sEdit1:
      return self.sEdit1;
    case Form1Control::sStatusBar1:
      return self.sStatusBar1;
    case Form1Control::sFilenameEdit2:
      return self.sFilenameEdit2;
    case Form1Control::sSpinEdit1:
      return self.sSpinEdit1;
    case Form1Control::sEdit2:
      return self.sEdit2;
    case Form1Control::sEdit3:
      return self.sEdit3;
    case Form1Control::Button2:
      return self.Button2;
    case Form1Control::sCheckBox1:
      return self.sCheckBox1;
  }
  return self.Button1;
}

HWND TForm1::ControlHandle(Form1Control name) const {
  return Control(name).Handle();
}

// The binding of the settings to the fields.
TControl& TForm1::Field(SettingField field) const {
  switch (field) {
    case SettingField::kServerPath:
      return Control(Form1Control::sFilenameEdit1);
    case SettingField::kQueryToolPath:
      return Control(Form1Control::sFilenameEdit2);
    case SettingField::kAdditionalParams:
      return Control(Form1Control::sEdit1);
    case SettingField::kQueryIp:
      return Control(Form1Control::sEdit2);
    case SettingField::kQueryPort:
      return Control(Form1Control::sEdit3);
    case SettingField::kDelay:
      break;
  }
  return Control(Form1Control::sSpinEdit1);
}

std::string TForm1::FieldText(SettingField field) const {
  return Field(field).Text();
}

void TForm1::SetFieldText(SettingField field, const std::string& text) {
  Field(field).SetText(text);
}

void TForm1::HideMainForm() {
  TrayIcon1.HideMainForm();
}

void TForm1::MenuCommand(WORD id) {
  if (id == kMenuN1Id) N1Click();
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_GETMINMAXINFO) {
    const LRESULT result = TForm::HandleMessage(message, wparam, lparam);
    auto& limits = *reinterpret_cast<MINMAXINFO*>(lparam);
    limits.ptMinTrackSize = {kForm1FixedWidth, kForm1FixedHeight};
    limits.ptMaxTrackSize = {kForm1FixedWidth, kForm1FixedHeight};
    return result;
  }
  if (message == WM_SIZE) {
    // The status bar keeps itself along the bottom edge when told of the new size.
    ::SendMessageW(sStatusBar1.Handle(), WM_SIZE, 0, 0);
  }
  return TForm::HandleMessage(message, wparam, lparam);
}

}  // namespace kestrune
