// The tray icon and the application's windows: hiding the main window to the tray and bringing it
// back, the application window's messages, and the owner's minimise and show messages.
#include "tray/tray_icon.h"

#include "tray/taskbar_created.h"
#include "tray/tray_event.h"
#include "ui/application.h"
#include "ui/form.h"

namespace kestrune {

void TTrayIcon::ShowMainForm() {
  if (owner_) Application().ShowMainForm();
}

void TTrayIcon::HideMainForm() {
  if (owner_) Application().HideMainForm();
}

void TTrayIcon::DoMinimizeToTray() {
  const auto alive = AliveToken();
  HideMainForm();
  if (!alive.expired()) SetIconVisible(true);
}

void TTrayIcon::ApplicationMessage(const AppMessage& message) {
  const auto alive = AliveToken();
  if (message.message == WM_SIZE && message.wparam == SIZE_MINIMIZED && minimize_to_tray_) {
    DoMinimizeToTray();
    if (alive.expired()) return;
  }
  TForm* const main = Application().MainForm();
  // The main window is never an MDI frame here, so its first placement only ends the start-up.
  if (message.message == WM_WINDOWPOSCHANGED && startup_pending_ && main) {
    startup_pending_ = false;
  }
  if (message.message == WM_SYSCOMMAND && message.wparam == SC_RESTORE && main) main->Show();
  // The shell forgot every icon when the taskbar was recreated.
  const UINT taskbar_created = TaskbarCreatedMessage();
  if (taskbar_created != 0 && message.message == taskbar_created && icon_visible_) AddIcon();
}

void TTrayIcon::InterceptOwner() {
  owner_subclass_.emplace(owner_->Handle(), [this](UINT message, WPARAM wparam, LPARAM lparam) {
    bool intercepted = false;
    if (message == WM_SHOWWINDOW || message == WM_SYSCOMMAND) {
      // Its own barrier: a failing handler that intercepted still keeps the message.
      CallGuarded([&] { OwnerMessage(message, wparam, lparam, intercepted); });
    }
    return intercepted ? 1 : owner_subclass_->Forward(message, wparam, lparam);
  });
}

void TTrayIcon::OwnerMessage(UINT message, WPARAM wparam, LPARAM lparam, bool& intercepted) {
  if (message == WM_SHOWWINDOW && wparam == TRUE && lparam == 0) {
    ::SetForegroundWindow(Application().Handle());
    ::SetForegroundWindow(owner_->Handle());
    return;
  }
  const bool minimizing = (message == WM_SHOWWINDOW && wparam == FALSE &&
                           lparam == SW_PARENTCLOSING && !Application().TerminateRequested()) ||
                          (message == WM_SYSCOMMAND && wparam == SC_MINIMIZE);
  if (!minimizing || !minimize_to_tray_ || !OnMinimizeToTray) return;
  // Decided before the handler runs: a failing handler does not let the minimize through.
  intercepted = true;
  const auto alive = AliveToken();
  Raise(OnMinimizeToTray);
  if (!alive.expired()) DoMinimizeToTray();
}

}  // namespace kestrune
