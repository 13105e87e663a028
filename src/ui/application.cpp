#include "ui/application.h"

#include <commctrl.h>

#include <algorithm>
#include <cwctype>

#include "base/exceptions.h"
#include "base/path_text.h"
#include "base/win32/ansi_text.h"
#include "base/win32/file_system.h"
#include "ui/failure_sink.h"
#include "ui/message_bits.h"
#include "ui/form.h"

namespace kestrune {
namespace {

TApplication* g_application = nullptr;

// Until the title is set: the executable's file name without its folder, cut at its first ".",
// all but the first letter in lower case.
std::wstring InitialTitle() {
  std::wstring name = AnsiToWide(FileNamePart(ExecutablePath()));
  name = name.substr(0, name.find(L'.'));
  for (std::size_t i = 1; i < name.size(); ++i) name[i] = wchar_t(std::towlower(name[i]));
  return name;
}

}  // namespace

HICON TApplication::Icon() {
  const HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), L"MAINICON");
  return icon ? icon : ::LoadIconW(nullptr, IDI_APPLICATION);
}

TApplication::TApplication() {
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&classes);
  const std::wstring title = InitialTitle();
  CreateWindowHandle(
      {.class_name = L"TApplication",
       .title = title.c_str(),
       .style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
       .icon = Icon()});
  CenterZeroSize();
  const HMENU system_menu = ::GetSystemMenu(Handle(), FALSE);
  for (UINT command : {SC_MAXIMIZE, SC_SIZE, SC_MOVE}) {
    ::DeleteMenu(system_menu, command, MF_BYCOMMAND);
  }
  g_application = this;
}

TApplication::~TApplication() {
  DestroyForms();
  if (g_application == this) g_application = nullptr;
}

TApplication& TApplication::Instance() {
  if (!g_application) throw Exception("No application object");
  return *g_application;
}

std::string TApplication::Title() const {
  return WideToAnsi(WindowTextOf(Handle()));
}

void TApplication::SetTitle(const std::string& title) {
  ::SetWindowTextW(Handle(), AnsiToWide(title).c_str());
}

void TApplication::AdoptForm(std::unique_ptr<TForm> form) {
  TForm& adopted = *form;
  forms_.push_back(std::move(form));
  if (!main_form_) main_form_ = &adopted;
  CallGuarded([&] { adopted.DoCreate(); });
}

void TApplication::Run(int show_command) {
  if (main_form_ && ShowMainWindowAtStart) {
    if (show_command == SW_SHOWMAXIMIZED) {
      ::ShowWindow(main_form_->Handle(), SW_SHOWMAXIMIZED);
      UpdateTaskbarEntry();
    } else if (show_command == SW_SHOWMINNOACTIVE) {
      MinimizeApplication();
    } else {
      main_form_->Show();
    }
  }
  while (!terminate_requested_) {
    if (!ProcessMessage() && !terminate_requested_) ::WaitMessage();
  }
  DestroyForms();
}

bool TApplication::ProcessMessage() {
  MSG message;
  if (!::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return false;
  if (message.message == WM_QUIT) {
    terminate_requested_ = true;
    return true;
  }
  // Tab and the other dialog keys move between the main window's controls.
  const HWND main = main_form_ ? main_form_->Handle() : nullptr;
  if (main && ::IsChild(main, message.hwnd) && ::IsDialogMessageW(main, &message)) return true;
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
  return true;
}

void TApplication::PumpPendingMessages() {
  while (ProcessMessage()) {
  }
}

void TApplication::Terminate() {
  ::PostQuitMessage(0);
}

void TApplication::DestroyForms() {
  // Hide the popups first so nothing is seen half torn down; the main window goes last.
  for (auto& form : forms_) ::ShowWindow(form->Handle(), SW_HIDE);
  main_form_ = nullptr;
  while (!forms_.empty()) forms_.pop_back();
}

void TApplication::CenterZeroSize() {
  ::SetWindowPos(Handle(), nullptr, ::GetSystemMetrics(SM_CXSCREEN) / 2,
                 ::GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TApplication::UpdateTaskbarEntry() {
  const bool any_visible =
      std::any_of(forms_.begin(), forms_.end(), [](const auto& form) { return form->Visible(); });
  if (any_visible != (::IsWindowVisible(Handle()) != FALSE)) {
    ::ShowWindow(Handle(), any_visible ? SW_SHOWNOACTIVATE : SW_HIDE);
  }
}

void TApplication::MinimizeApplication() {
  if (IsMinimized()) return;
  ::SetActiveWindow(Handle());
  if (main_form_ && (main_form_->Visible() || ShowMainWindowAtStart)) {
    RECT bounds;
    ::GetWindowRect(main_form_->Handle(), &bounds);
    ::SetWindowPos(Handle(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left, 0,
                   SWP_NOZORDER);
  }
  ::ShowWindow(Handle(), SW_MINIMIZE);
  // The owned windows go with their owner, as the system's own minimise takes them, and come back
  // with it. An X desktop that iconified the main window itself gets it back this way too: hidden
  // and shown again, it is mapped afresh in its normal state.
  ::ShowOwnedPopups(Handle(), FALSE);
}

void TApplication::RestoreApplication() {
  if (!IsMinimized()) return;
  const HWND focus = main_form_ ? main_form_->LastFocus() : nullptr;
  ::SetActiveWindow(Handle());
  ::ShowWindow(Handle(), SW_RESTORE);
  ::ShowOwnedPopups(Handle(), TRUE);
  CenterZeroSize();
  if (main_form_ && ::IsIconic(main_form_->Handle()) && !main_form_->Visible()) {
    ::ShowWindow(main_form_->Handle(), SW_SHOWNORMAL);
  }
  if (main_form_ && main_form_->Visible()) {
    ::SetForegroundWindow(main_form_->Handle());
    if (focus && ::IsWindow(focus)) ::SetFocus(focus);
  }
}

void TApplication::HideMainForm() {
  if (!main_form_) return;
  ::ShowWindow(main_form_->Handle(), SW_HIDE);
  if (::IsWindowVisible(Handle())) ::ShowWindow(Handle(), SW_HIDE);
}

void TApplication::ShowMainForm() {
  if (!main_form_) return;
  RestoreApplication();
  if (::IsIconic(main_form_->Handle())) ::ShowWindow(main_form_->Handle(), SW_RESTORE);
  main_form_->Show();
  ::SetForegroundWindow(Handle());
  ::SetForegroundWindow(main_form_->Handle());
}

ApplicationHook::ApplicationHook(TApplication& application, Handler handler)
    : application_(application), handler_(std::move(handler)) {
  application_.HookApplicationWindow(*this);
}

ApplicationHook::~ApplicationHook() {
  application_.UnhookApplicationWindow(*this);
}

void TApplication::HookApplicationWindow(ApplicationHook& hook) {
  hooks_.push_back(&hook);
}

void TApplication::UnhookApplicationWindow(const ApplicationHook& hook) {
  std::erase(hooks_, &hook);
}

LRESULT TApplication::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  AppMessage offered{message, wparam, lparam};
  // A hook may unhook itself, or another one, while it runs: the message goes down a copy of the
  // list, and only to hooks that are still registered.
  const std::vector<ApplicationHook*> hooks = hooks_;
  for (ApplicationHook* hook : hooks) {
    if (std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end()) continue;
    if (hook->handler_(offered)) return offered.result;
  }
  switch (message) {
    case WM_CLOSE:
      if (main_form_) main_form_->Close();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wparam) terminate_requested_ = true;
      return 0;
    case WM_SYSCOMMAND:
      switch (SystemCommandOf(wparam)) {
        case SC_MINIMIZE:
          MinimizeApplication();
          return 0;
        case SC_RESTORE:
          RestoreApplication();
          return 0;
      }
      break;
  }
  return WindowBase::HandleMessage(message, wparam, lparam);
}

}  // namespace kestrune
