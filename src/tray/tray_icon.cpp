#include "tray/tray_icon.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "shell/application.h"
#include "shell/failure_sink.h"
#include "shell/form.h"
#include "shell/window_base.h"
#include "tray/main_form_visibility.h"
#include "tray/shared_handler.h"

namespace kestrune {
namespace {

static_assert(sizeof(NOTIFYICONDATAA::szTip) == kTrayTipSize);
static_assert(kNotifyDataSize == (sizeof(void*) == 8 ? 504 : 488));

std::uint32_t ReadCommonControlsVersion() noexcept {
  try {
    const char* const module = "comctl32.dll";
    DWORD unused = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(module, &unused);
    if (size == 0) return 0;
    std::vector<BYTE> block(size);
    if (!::GetFileVersionInfoA(module, 0, size, block.data())) return 0;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof *info || info->dwSignature != VS_FFI_SIGNATURE) {
      return 0;
    }
    // The high word holds the major version, the low word the minor one.
    return info->dwFileVersionMS;
  } catch (...) {
    return 0;
  }
}

UINT g_taskbar_created = 0;

// The registration happens while the process initialises, before any window exists.
[[maybe_unused]] const bool g_taskbar_created_registered = [] {
  RegisterTaskbarCreated(CommonControlsVersion());
  return true;
}();

TShiftState KeysDown() {
  TShiftState keys = 0;
  if (::GetAsyncKeyState(VK_SHIFT) < 0) keys |= ssShift;
  if (::GetAsyncKeyState(VK_CONTROL) < 0) keys |= ssCtrl;
  if (::GetAsyncKeyState(VK_MENU) < 0) keys |= ssAlt;
  return keys;
}

// Runs an event on a copy, so a handler that destroys the icon does not destroy itself mid-call.
template <typename Event, typename... Args>
void Raise(const Event& event, Args&&... args) {
  if (!event) return;
  const Event handler = event;
  handler(std::forward<Args>(args)...);
}

}  // namespace

std::uint32_t CommonControlsVersion() {
  static const std::uint32_t version = ReadCommonControlsVersion();
  return version;
}

void RegisterTaskbarCreated(std::uint32_t comctl_version) {
  g_taskbar_created =
      RegistersTaskbarCreated(comctl_version) ? ::RegisterWindowMessageA("TaskbarCreated") : 0;
}

UINT TaskbarCreatedMessage() {
  return g_taskbar_created;
}

// The one window of the process that the shell talks to about every tray icon: it hands each
// notification to the icon it names. Never shown.
class TTrayIconHandler : public SharedHandler<TTrayIconHandler, TTrayIcon, UINT> {
 private:
  friend class SharedHandler<TTrayIconHandler, TTrayIcon, UINT>;

  TTrayIconHandler() {
    CreateWindowHandle(
        {.class_name = L"KestruneTrayIconWindow", .style = WS_POPUP, .ex_style = WS_EX_TOOLWINDOW});
  }

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    switch (message) {
      case kTrayCallbackMessage:
        if (TTrayIcon* icon = Find(UINT(wparam))) Dispatch([&] { icon->Notify(UINT(lparam)); });
        return 0;
      // A close request leaves the window in place, and the session may end.
      case WM_DESTROY:
      case WM_CLOSE:
      case WM_QUERYENDSESSION:
      case WM_QUIT:
      case WM_ENDSESSION:
      case WM_NCDESTROY:
        return 1;
    }
    return WindowBase::HandleMessage(message, wparam, lparam);
  }
};

TTrayIcon::HandlerReference::HandlerReference() : window(TTrayIconHandler::Acquire().Window()) {}

TTrayIcon::HandlerReference::~HandlerReference() {
  TTrayIconHandler::Release();
}

TTrayIcon::TTrayIcon(TForm* owner)
    : owner_(owner),
      alive_(std::make_shared<int>(0)),
      cycle_timer_(1000, [this] { CycleStep(); }),
      click_timer_(1000, [this] { RunSteps(rules_.ClickTimerStep()); }),
      exit_timer_(20, [this] { ExitCheck(); }) {
  data_.cbSize = kNotifyDataSize;
  data_.hWnd = handler_.window;
  data_.uID = TTrayIconHandler::Instance()->Register(*this);
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = kTrayCallbackMessage;
  try {
    Application().HookApplicationWindow({&TTrayIcon::ApplicationHook, this});
  } catch (...) {
    TTrayIconHandler::Instance()->Unregister(*this);
    throw;
  }
  if (owner_ && ::SetWindowSubclass(owner_->Handle(), &TTrayIcon::OwnerProc, data_.uID,
                                    reinterpret_cast<DWORD_PTR>(this))) {
    subclassed_ = owner_->Handle();
  }
}

TTrayIcon::~TTrayIcon() {
  try {
    SetIconVisible(false);
  } catch (...) {
    // Leaving the tray must not keep the hooks in place.
  }
  if (subclassed_ && ::IsWindow(subclassed_)) {
    ::RemoveWindowSubclass(subclassed_, &TTrayIcon::OwnerProc, data_.uID);
  }
  try {
    Application().UnhookApplicationWindow({&TTrayIcon::ApplicationHook, this});
  } catch (...) {
    // No application object any more: no hook either.
  }
  if (TTrayIconHandler* handler = TTrayIconHandler::Instance()) handler->Unregister(*this);
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

void TTrayIcon::ShowMainForm() {
  if (owner_) kestrune::ShowMainForm(Application());
}

void TTrayIcon::HideMainForm() {
  if (owner_) kestrune::HideMainForm(Application());
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

void TTrayIcon::DoMinimizeToTray() {
  const auto alive = AliveToken();
  HideMainForm();
  if (!alive.expired()) SetIconVisible(true);
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
  const HWND menu_owner = owner_ ? owner_->Handle() : handler_.window;
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

bool TTrayIcon::ApplicationHook(void* self, AppMessage& message) {
  // The hook only watches: the application's own handling always follows.
  CallGuarded([&] { static_cast<TTrayIcon*>(self)->ApplicationMessage(message); });
  return false;
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

LRESULT CALLBACK TTrayIcon::OwnerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                      UINT_PTR /*id*/, DWORD_PTR self) noexcept {
  bool intercepted = false;
  if (message == WM_SHOWWINDOW || message == WM_SYSCOMMAND) {
    CallGuarded([&] {
      reinterpret_cast<TTrayIcon*>(self)->OwnerMessage(window, message, wparam, lparam,
                                                       intercepted);
    });
  }
  return intercepted ? 1 : ::DefSubclassProc(window, message, wparam, lparam);
}

void TTrayIcon::OwnerMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                             bool& intercepted) {
  if (message == WM_SHOWWINDOW && wparam == TRUE && lparam == 0) {
    ::SetForegroundWindow(Application().Handle());
    ::SetForegroundWindow(window);
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
