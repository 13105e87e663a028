#include "shell/main_window.h"

#include "shell/application.h"

namespace kestrune {
namespace {

constexpr WORD kMenuExit = 100;  // N1 "Выход"; clear of the dialog-key command ids
constexpr wchar_t kCredits[] = L"Program was tested and checked by Morvell and Brakken";

// The outer size is held here whatever the design asks for.
constexpr int kFixedWidth = 397;
constexpr int kFixedHeight = 396;

const FormDesign kFormDesign{L"Kestrune v0.1 Pre-Beta Build", 417, 156, 396, 397};

HFONT CreateWindowFont() {
  return ::CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
}

}  // namespace

TForm1::TForm1()
    : TForm(kFormDesign),
      font_(CreateWindowFont()),
      menu_(::CreateMenu()),
      Button1(Handle(), {24, 272, 75, 25, L"Запустить"}),
      sFilenameEdit1(Handle(), {32, 40, 201, 21, L""}),
      sLabel1(Handle(), {64, 24, 142, 13, L"Выберите srcds.exe/hlds.exe"}),
      sEdit1(Handle(), {32, 88, 201, 21, L""}),
      sLabel2(Handle(), {72, 72, 103, 13, L"Параметры запуска"}),
      sStatusBar1(Handle(), {0, 327, 388, 19, L""}),
      sFilenameEdit2(Handle(), {32, 136, 201, 21, L""}),
      sLabel3(Handle(), {56, 120, 159, 13, L"Укажите путь к файлу qstat.exe"}),
      sSpinEdit1(Handle(), {288, 160, 65, 21, L""}),
      sLabel4(Handle(), {32, 168, 234, 13, L"Укажите время проверки сервера в секундах"}),
      Label1(Handle(), {32, 200, 61, 13, L"IP запросов"}),
      Label2(Handle(), {32, 232, 76, 13, L"Порт запросов"}),
      sEdit2(Handle(), {120, 192, 169, 21, L""}),
      sEdit3(Handle(), {120, 224, 169, 21, L""}),
      Button2(Handle(), {120, 272, 75, 25, L"Стоп"}),
      Label3(Handle(), {64, 304, 271, 13, kCredits}),
      sCheckBox1(Handle(), {224, 280, 130, 19, L"Автозапуск сервера"}),
      supervisor_(*this) {
  ::AppendMenuW(menu_.get(), MF_STRING, kMenuExit, L"Выход");
  ::SetMenu(Handle(), menu_.get());
  for (TControl* control : std::initializer_list<TControl*>{
           &Button1, &sFilenameEdit1, &sLabel1, &sEdit1, &sLabel2, &sStatusBar1, &sFilenameEdit2,
           &sLabel3, &sSpinEdit1, &sLabel4, &Label1, &Label2, &sEdit2, &sEdit3, &Button2, &Label3,
           &sCheckBox1}) {
    control->SetFont(static_cast<HFONT>(font_.get()));
  }
  // Tab order: Start, the fields top to bottom, Stop, the auto-start box.
  HWND previous = HWND_TOP;
  for (TControl* control :
       std::initializer_list<TControl*>{&Button1, &sFilenameEdit1, &sEdit1, &sFilenameEdit2,
                                        &sSpinEdit1, &sEdit2, &sEdit3, &Button2, &sCheckBox1}) {
    ::SetWindowPos(control->Handle(), previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    previous = control->Handle();
  }
  sFilenameEdit1.SetMaxLength(255);
  sFilenameEdit2.SetMaxLength(255);

  Button1.OnClick = [this] { supervisor_.Button1Click(); };
  Button2.OnClick = [this] { supervisor_.Button2Click(); };
  sCheckBox1.OnClick = [this] { supervisor_.sCheckBox1Click(); };
}

TForm1::~TForm1() {
  // The menu belongs to the window until the window goes.
  ::SetMenu(Handle(), nullptr);
}

TControl& TForm1::Field(SettingField field) const {
  auto& self = const_cast<TForm1&>(*this);
  switch (field) {
    case SettingField::kServerPath:
      return self.sFilenameEdit1;
    case SettingField::kQueryToolPath:
      return self.sFilenameEdit2;
    case SettingField::kAdditionalParams:
      return self.sEdit1;
    case SettingField::kQueryIp:
      return self.sEdit2;
    case SettingField::kQueryPort:
      return self.sEdit3;
    case SettingField::kDelay:
      break;
  }
  return self.sSpinEdit1;
}

std::string TForm1::FieldText(SettingField field) const {
  return Field(field).Text();
}

void TForm1::SetFieldText(SettingField field, const std::string& text) {
  Field(field).SetText(text);
}

void TForm1::HideMainForm() {
  Hide();
}

void TForm1::FormActivate() {
  Label3.SetWideText(kCredits);
}

void TForm1::MenuCommand(WORD id) {
  if (id == kMenuExit) N1Click();
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_GETMINMAXINFO) {
    const LRESULT result = TForm::HandleMessage(message, wparam, lparam);
    auto& limits = *reinterpret_cast<MINMAXINFO*>(lparam);
    limits.ptMinTrackSize = {kFixedWidth, kFixedHeight};
    limits.ptMaxTrackSize = {kFixedWidth, kFixedHeight};
    return result;
  }
  return TForm::HandleMessage(message, wparam, lparam);
}

}  // namespace kestrune
