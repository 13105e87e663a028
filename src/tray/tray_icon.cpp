#include "tray/tray_icon.h"

#include <algorithm>

#include "tray/tray_event.h"
#include "ui/application.h"

namespace kestrune {

static_assert(sizeof(NOTIFYICONDATAA::szTip) == kTrayTipSize);
static_assert(kNotifyDataSize == (sizeof(void*) == 8 ? 504 : 488));

TTrayIcon::TTrayIcon(TForm* owner)
    : owner_(owner),
      application_hook_(Application(),
                        [this](AppMessage& message) {
                          // The hook only watches: the application's own handling always follows.
                          CallGuarded([&] { ApplicationMessage(message); });
                          return false;
                        }),
      alive_(std::make_shared<int>(0)),
      cycle_timer_(1000, [this] { CycleStep(); }),
      click_timer_(1000, [this] { RunSteps(rules_.ClickTimerStep()); }),
      exit_timer_(20, [this] { ExitCheck(); }) {
  data_.cbSize = kNotifyDataSize;
  data_.hWnd = registration_.Window();
  data_.uID = registration_.Identity();
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = kTrayCallbackMessage;
  if (owner_) InterceptOwner();
}

TTrayIcon::~TTrayIcon() {
  // The icon leaves the tray; the registrations go with the members, whatever this did.
  CallGuarded([&] { SetIconVisible(false); });
}

bool TTrayIcon::ShellCall(DWORD operation) {
  PrepareNotifyData();
  return ::Shell_NotifyIconA(operation, &data_) != FALSE;
}

bool TTrayIcon::AddIcon() {
  icon_visible_ = true;
  return ShellCall(NIM_ADD);
}

bool TTrayIcon::DeleteIcon() {
  icon_visible_ = false;
  return ShellCall(NIM_DELETE);
}

bool TTrayIcon::UpdateIcon() {
  return ShellCall(NIM_MODIFY);
}

void TTrayIcon::PrepareNotifyData() {
  data_.hIcon = icon_.get();
  const TrayTip tip = PrepareTip(hint_, show_hint_);
  std::copy(tip.begin(), tip.end(), data_.szTip);
}

void TTrayIcon::Loaded() {
  if (owner_) {
    bool show_main_form = true;
    const auto alive = AliveToken();
    CallGuarded([&] { Raise(OnStartup, show_main_form); });
    if (alive.expired()) return;
    if (!show_main_form) {
      Application().ShowMainWindowAtStart = false;
      HideMainForm();
    }
  }
  UpdateIcon();
  // The shell refuses a second add of an icon it has; one it lost comes back.
  if (icon_visible_) AddIcon();
  SetCycleIcons(cycle_icons_);
  SetWantEnterExitEvents(want_enter_exit_);
  data_.uVersion = notify_style_ == TNotifyStyle::nsVersion5 ? NOTIFYICON_VERSION : 0;
  ShellCall(NIM_SETVERSION);
}

void TTrayIcon::SetIconList(const TIconList* list) {
  icon_list_ = list;
  SetIconIndex(0);
}

void TTrayIcon::SetCycleIcons(bool cycle) {
  cycle_icons_ = cycle;
  if (cycle) {
    SetIconIndex(0);
    cycle_timer_.SetInterval(cycle_interval_);
    cycle_timer_.SetEnabled(true);
  } else {
    cycle_timer_.SetEnabled(false);
  }
}

void TTrayIcon::SetCycleInterval(std::uint32_t interval_ms) {
  cycle_interval_ = interval_ms;
  SetCycleIcons(cycle_icons_);
}

void TTrayIcon::SetHint(const std::string& hint) {
  hint_ = hint;
  UpdateIcon();
}

void TTrayIcon::SetShowHint(bool show) {
  show_hint_ = show;
  UpdateIcon();
}

void TTrayIcon::AssignIcon(HICON icon, bool notify) {
  // Copied before the old picture goes, so the icon may be given its own picture.
  icon_.reset(icon ? ::CopyIcon(icon) : nullptr);
  if (notify) UpdateIcon();
}

void TTrayIcon::SetIcon(HICON icon) {
  AssignIcon(icon, false);
  UpdateIcon();
}

void TTrayIcon::SetIconVisible(bool visible) {
  if (visible) {
    AddIcon();
  } else {
    DeleteIcon();
  }
}

void TTrayIcon::SetIconIndex(std::int32_t index) {
  // An index outside the list, or an empty list, never reaches past its ends.
  if (icon_list_ && !icon_list_->empty()) {
    icon_index_ = std::clamp(index, 0, std::int32_t(icon_list_->size()) - 1);
    AssignIcon((*icon_list_)[std::size_t(icon_index_)], true);
  } else {
    icon_index_ = 0;
  }
  UpdateIcon();
}

void TTrayIcon::SetWantEnterExitEvents(bool want) {
  want_enter_exit_ = want;
  exit_timer_.SetEnabled(want);
}

void TTrayIcon::Notification(const TIconList& removed) {
  if (&removed == icon_list_) SetIconList(nullptr);
}

void TTrayIcon::Notification(const TPopupMenu& removed) {
  if (&removed == popup_menu_) popup_menu_ = nullptr;
}

}  // namespace kestrune
