#include "app/main_window.h"

#include "ui/application.h"

namespace kestrune {
namespace {

// "MS Sans Serif", 8 points at 96 pixels per inch.
HFONT CreateWindowFont() {
  return ::CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
}

}  // namespace

TForm1::Components::Components(TForm1& form)
    : font(CreateWindowFont()),
      Button1(form.Handle(), PlacementOf(Form1Control::Button1)),
      sFilenameEdit1(form.Handle(), PlacementOf(Form1Control::sFilenameEdit1)),
      sLabel1(form.Handle(), PlacementOf(Form1Control::sLabel1)),
      sEdit1(form.Handle(), PlacementOf(Form1Control::sEdit1)),
      sLabel2(form.Handle(), PlacementOf(Form1Control::sLabel2)),
      sStatusBar1(form.Handle(), PlacementOf(Form1Control::sStatusBar1)),
      sFilenameEdit2(form.Handle(), PlacementOf(Form1Control::sFilenameEdit2)),
      sLabel3(form.Handle(), PlacementOf(Form1Control::sLabel3)),
      sSpinEdit1(form.Handle(), PlacementOf(Form1Control::sSpinEdit1)),
      sLabel4(form.Handle(), PlacementOf(Form1Control::sLabel4)),
      Label1(form.Handle(), PlacementOf(Form1Control::Label1)),
      Label2(form.Handle(), PlacementOf(Form1Control::Label2)),
      sEdit2(form.Handle(), PlacementOf(Form1Control::sEdit2)),
      sEdit3(form.Handle(), PlacementOf(Form1Control::sEdit3)),
      Button2(form.Handle(), PlacementOf(Form1Control::Button2)),
      Label3(form.Handle(), PlacementOf(Form1Control::Label3)),
      sCheckBox1(form.Handle(), PlacementOf(Form1Control::sCheckBox1)),
      sHintManager1(),
      TrayIcon1(&form),
      supervisor(form, Application(), Application().Handle()) {}

TForm1::TForm1(Look look) : TForm(kForm1Design) {
  CreateFormWindow();
  parts_.emplace(*this);
  ConfigureTrayIcon();
  ConfigureHintManager();
  AttachMenu();
  ApplyDesignFontAndTabOrder();
  AutoSizeCaptions();
  ApplyLook(look);

  Components& parts = *parts_;
  parts.Button1.OnClick = [this] { Button1Click(); };
  parts.Button2.OnClick = [this] { Button2Click(); };
  parts.sCheckBox1.OnClick = [this] { sCheckBox1Click(); };
  parts.supervisor.CheckTimer().OnTimer = [this] { Timer1Timer(); };

  // Building is over: from here on, code that sets the box or the spin value takes effect.
  parts.sCheckBox1.Loaded();
  parts.sSpinEdit1.Loaded();
  AlignStatusBar();
}

void TForm1::AlignStatusBar() {
  // The status bar keeps itself along the bottom edge when told of the window's size.
  ::SendMessageW(parts_->sStatusBar1.Handle(), WM_SIZE, 0, 0);
}

void TForm1::AutoSizeCaptions() {
  // Captions are never cut, whatever font the platform puts in the design font's place.
  Components& parts = *parts_;
  for (TLabel* label : {static_cast<TLabel*>(&parts.sLabel1), static_cast<TLabel*>(&parts.sLabel2),
                        static_cast<TLabel*>(&parts.sLabel3), static_cast<TLabel*>(&parts.sLabel4),
                        &parts.Label1, &parts.Label2, &parts.Label3}) {
    label->AutoSize();
  }
  parts.sCheckBox1.AutoSize();
}

void TForm1::ApplyLook(Look look) {
  if (look == Look::kCold) skin_.emplace();
  const SkinPainter* painter = skin_ ? &*skin_ : nullptr;
  for (const ControlDesign& row : kForm1Controls) Control(row.name).SetSkin(painter);
  ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TForm1::ConfigureTrayIcon() {
  // The tray icon's design, in the order it is stored: the icon is in the tray from here on,
  // while the window is still being built.
  TTrayIcon& icon = parts_->TrayIcon1;
  icon.SetCycleInterval(0);
  icon.SetHint("Kestrune");
  icon.SetIcon(TApplication::Icon());
  icon.SetIconVisible(true);
  icon.SetIconIndex(0);
  icon.OnClick = [this] { TrayIcon1Click(); };
  icon.Loaded();
}

void TForm1::ConfigureHintManager() {
  // sHintManager1: the comic balloon; the auto-start box shows its hint, and so do the query
  // address and port fields, whose texts would otherwise never be seen.
  TsHintManager& hints = parts_->sHintManager1;
  hints.HintKind = MainWindowHintKind();
  hints.Predefinitions = THintPredefinitions::shCustom;
  hints.SkinSection = "HINT";
  hints.SetHint(parts_->sCheckBox1.Handle(), L"Запускать сервер при запуске программы");
  hints.SetHint(parts_->sEdit2.Handle(), L"IP, по которому собирать информацию с сервера");
  hints.SetHint(parts_->sEdit3.Handle(), L"Порт сбора информации с сервера");
  hints.Loaded();
}

void TForm1::AttachMenu() {
  // MainMenu1: the window destroys the menu it has; until it has it, the owner here does.
  UniqueMenu menu(::CreateMenu());
  ::AppendMenuW(menu.get(), MF_STRING, kMenuN1Id, kMenuN1Caption);
  if (::SetMenu(Handle(), menu.get())) (void)menu.release();
}

void TForm1::ApplyDesignFontAndTabOrder() {
  // The design's window font everywhere; the status bar keeps the system's status font.
  for (const ControlDesign& row : kForm1Controls) {
    if (row.name != Form1Control::sStatusBar1) Control(row.name).SetFont(parts_->font.get());
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
}

TControl& TForm1::Control(Form1Control name) const {
  using Member = TControl& (*)(Components&);
  struct Entry {
    Form1Control name;
    Member member;
  };
  // clang-format off
  static constexpr Entry kMembers[] = {
    {Form1Control::sLabel1,        [](Components& c) -> TControl& { return c.sLabel1; }},
    {Form1Control::sLabel2,        [](Components& c) -> TControl& { return c.sLabel2; }},
    {Form1Control::sLabel3,        [](Components& c) -> TControl& { return c.sLabel3; }},
    {Form1Control::sLabel4,        [](Components& c) -> TControl& { return c.sLabel4; }},
    {Form1Control::Label1,         [](Components& c) -> TControl& { return c.Label1; }},
    {Form1Control::Label2,         [](Components& c) -> TControl& { return c.Label2; }},
    {Form1Control::Label3,         [](Components& c) -> TControl& { return c.Label3; }},
    {Form1Control::Button1,        [](Components& c) -> TControl& { return c.Button1; }},
    {Form1Control::sFilenameEdit1, [](Components& c) -> TControl& { return c.sFilenameEdit1; }},
    {Form1Control::sEdit1,         [](Components& c) -> TControl& { return c.sEdit1; }},
    {Form1Control::sStatusBar1,    [](Components& c) -> TControl& { return c.sStatusBar1; }},
    {Form1Control::sFilenameEdit2, [](Components& c) -> TControl& { return c.sFilenameEdit2; }},
    {Form1Control::sSpinEdit1,     [](Components& c) -> TControl& { return c.sSpinEdit1; }},
    {Form1Control::sEdit2,         [](Components& c) -> TControl& { return c.sEdit2; }},
    {Form1Control::sEdit3,         [](Components& c) -> TControl& { return c.sEdit3; }},
    {Form1Control::Button2,        [](Components& c) -> TControl& { return c.Button2; }},
    {Form1Control::sCheckBox1,     [](Components& c) -> TControl& { return c.sCheckBox1; }},
  };
  // clang-format on
  // Entry i is control i, so every control has its member exactly once.
  static_assert(std::size(kMembers) == kForm1ControlCount);
  static_assert([] {
    for (std::size_t i = 0; i < std::size(kMembers); ++i) {
      if (kMembers[i].name != Form1Control(i)) return false;
    }
    return true;
  }());
  return kMembers[std::size_t(name)].member(const_cast<Components&>(*parts_));
}

HWND TForm1::ControlHandle(Form1Control name) const {
  return Control(name).Handle();
}

std::string TForm1::FieldText(SettingField field) const {
  return Control(ControlHolding(field)).Text();
}

void TForm1::SetFieldText(SettingField field, const std::string& text) {
  Control(ControlHolding(field)).SetText(text);
}

void TForm1::HideMainForm() {
  parts_->TrayIcon1.HideMainForm();
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
  if (message == WM_ERASEBKGND && skin_) {
    RECT client;
    ::GetClientRect(Handle(), &client);
    skin_->PaintFace(reinterpret_cast<HDC>(wparam), client);
    return 1;
  }
  if (message == WM_SIZE && parts_) AlignStatusBar();
  return TForm::HandleMessage(message, wparam, lparam);
}

}  // namespace kestrune
