// The tray icon's side of the shell's notifications: decoding them into steps and raising the
// events, the icon cycle, the exit check and the popup menu.
#include "tray/tray_icon.h"

#include <algorithm>

#include "tray/tray_event.h"
#include "ui/application.h"
#include "ui/form.h"

namespace kestrune {
namespace {

TShiftState KeysDown() {
  TShiftState keys = 0;
  if (::GetAsyncKeyState(VK_SHIFT) < 0) keys |= ssShift;
  if (::GetAsyncKeyState(VK_CONTROL) < 0) keys |= ssCtrl;
  if (::GetAsyncKeyState(VK_MENU) < 0) keys |= ssAlt;
  return keys;
}

}  // namespace

void TTrayIcon::DoClick() {
  Raise(OnClick);
}

void TTrayIcon::DoDblClick() {
  Raise(OnDblClick);
}

void TTrayIcon::DoCycle(std::int32_t next_index) {
  Raise(OnCycle, next_index);
}

void TTrayIcon::DoMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  Raise(OnMouseDown, button, shift, x, y);
}

void TTrayIcon::DoMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  Raise(OnMouseUp, button, shift, x, y);
}

void TTrayIcon::DoMouseMove(TShiftState shift, int x, int y) {
  Raise(OnMouseMove, shift, x, y);
}

void TTrayIcon::DoMouseEnter() {
  Raise(OnMouseEnter);
}

void TTrayIcon::DoMouseExit() {
  Raise(OnMouseExit);
}

void TTrayIcon::Notify(UINT notification) {
  const TrayDecodeSettings settings{
      .enabled = enabled_,
      .notify_style = notify_style_,
      .has_dbl_click_handler = bool(OnDblClick),
      .want_enter_exit_events = want_enter_exit_,
      .left_popup = left_popup_,
      .menu_pops_up = popup_menu_ && popup_menu_->handle && popup_menu_->AutoPopup,
  };
  RunSteps(rules_.Notify(notification, settings, click_timer_.Enabled()));
}

void TTrayIcon::RunSteps(const std::vector<TrayStep>& steps) {
  if (steps.empty()) return;
  // The position is the cursor's when the notification is handled, not where it was sent from.
  POINT cursor{};
  ::GetCursorPos(&cursor);
  const TShiftState keys = KeysDown();
  const auto alive = AliveToken();
  for (const TrayStep& step : steps) {
    switch (step.kind) {
      case TrayStep::kStartClickTimer:
        click_timer_.SetInterval(::GetDoubleClickTime());
        click_timer_.SetEnabled(true);
        break;
      case TrayStep::kStopClickTimer:
        click_timer_.SetEnabled(false);
        break;
      case TrayStep::kMouseEnter:
        DoMouseEnter();
        break;
      case TrayStep::kMouseExit:
        DoMouseExit();
        break;
      case TrayStep::kMouseMove:
        last_cursor_ = cursor;
        DoMouseMove(keys, cursor.x, cursor.y);
        break;
      case TrayStep::kMouseDown:
        DoMouseDown(step.button, keys | ShiftOf(step.button), cursor.x, cursor.y);
        break;
      case TrayStep::kMouseUp:
        DoMouseUp(step.button, keys | ShiftOf(step.button), cursor.x, cursor.y);
        break;
      case TrayStep::kClick:
        DoClick();
        break;
      case TrayStep::kDblClick:
        DoDblClick();
        break;
      case TrayStep::kMenuPopup:
        MenuPopup();
        break;
      case TrayStep::kDefaultItemClick:
        ClickDefaultItem();
        break;
      case TrayStep::kBalloonShow:
        Raise(OnBalloonHintShow);
        break;
      case TrayStep::kBalloonHide:
        Raise(OnBalloonHintHide);
        break;
      case TrayStep::kBalloonTimeout:
        Raise(OnBalloonHintTimeout);
        break;
      case TrayStep::kBalloonClick:
        Raise(OnBalloonHintClick);
        break;
    }
    if (alive.expired()) return;
  }
}

void TTrayIcon::CycleStep() {
  if (!icon_list_ || icon_list_->empty()) return;
  // The list is not ours: it may have shrunk since the last step.
  const auto count = std::int32_t(icon_list_->size());
  icon_index_ = std::clamp(icon_index_, 0, count - 1);
  const auto alive = AliveToken();
  AssignIcon((*icon_list_)[std::size_t(icon_index_)], true);
  const std::int32_t next = icon_index_ + 1 < count ? icon_index_ + 1 : 0;
  DoCycle(next);
  if (!alive.expired()) icon_index_ = next;
}

void TTrayIcon::ExitCheck() {
  POINT cursor;
  if (!::GetCursorPos(&cursor)) return;
  RunSteps(rules_.ExitCheck(cursor.x != last_cursor_.x || cursor.y != last_cursor_.y));
}

void TTrayIcon::MenuPopup() {
  POINT cursor;
  if (!popup_menu_ || !::GetCursorPos(&cursor)) return;
  const auto alive = AliveToken();
  ::SetForegroundWindow(Application().Handle());
  // Handlers run here and may take the menu, or the icon, away.
  Application().PumpPendingMessages();
  if (alive.expired() || !popup_menu_ || !popup_menu_->handle || !popup_menu_->AutoPopup) return;
  const TPopupMenu& menu = *popup_menu_;
  const auto on_item_click = menu.OnItemClick;
  const HWND menu_owner = owner_ ? owner_->Handle() : registration_.Window();
  const UINT command = UINT(::TrackPopupMenu(menu.handle, TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x,
                                             cursor.y, 0, menu_owner, nullptr));
  if (alive.expired()) return;
  // Lets the menu close properly when the user clicks elsewhere.
  if (owner_) ::PostMessageW(owner_->Handle(), WM_NULL, 0, 0);
  if (command != 0 && on_item_click) on_item_click(command);
}

void TTrayIcon::ClickDefaultItem() {
  if (!popup_menu_ || !popup_menu_->handle) return;
  // The platform allows one default item per menu; a disabled one is not clicked.
  const UINT command = ::GetMenuDefaultItem(popup_menu_->handle, FALSE, 0);
  if (command != UINT(-1)) Raise(popup_menu_->OnItemClick, command);
}

}  // namespace kestrune
