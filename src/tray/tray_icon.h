// The notification-area icon: a non-visual component owned by a form (or by nothing) that keeps
// one icon in the tray, decodes the shell's mouse notifications into events, and can hide the
// main window with its taskbar entry and bring it back.
#pragma once

#include "base/win32/prelude.h"

#include <shellapi.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/win32/unique_handle.h"
#include "tray/simple_timer.h"
#include "tray/tray_icon_handler.h"
#include "tray/tray_rules.h"
#include "ui/application.h"
#include "ui/scoped_subclass.h"

namespace kestrune {

class TForm;

// Pictures to cycle through; the icon refers to a list it does not own.
using TIconList = std::vector<HICON>;

// A menu the icon pops up at the cursor; not owned. OnItemClick gets the chosen command.
struct TPopupMenu {
  HMENU handle = nullptr;
  bool AutoPopup = true;
  std::function<void(UINT command)> OnItemClick;
};

// The notification record as the shell of common controls 5 knows it: it ends at dwInfoFlags and
// has no guidItem (488 bytes in a 32-bit process, 504 in a 64-bit one).
inline constexpr DWORD kNotifyDataSize = offsetof(NOTIFYICONDATAA, guidItem);

class TTrayIcon {
 public:
  // `owner` is the form that owns the icon and whose window it watches; nullptr: none.
  explicit TTrayIcon(TForm* owner);
  virtual ~TTrayIcon();
  TTrayIcon(const TTrayIcon&) = delete;
  TTrayIcon& operator=(const TTrayIcon&) = delete;

  // Whether a preview would show the platform's logo for an empty Icon.
  virtual bool WantsDefaultIcon() const { return true; }
  // The shell calls; each answers whether the shell accepted it, which nothing else depends on.
  virtual bool AddIcon();     // IconVisible := true, then NIM_ADD
  virtual bool DeleteIcon();  // IconVisible := false, then NIM_DELETE
  virtual bool UpdateIcon();  // NIM_MODIFY, whatever IconVisible says
  // Brings the record's picture and tip up to date.
  void PrepareNotifyData();

  // Load completion: run once every property of the owner's design has been set.
  void Loaded();

  // Show or hide the application's main window with its taskbar entry; nothing without an owner.
  void ShowMainForm();
  void HideMainForm();

  bool DesignPreview() const { return design_preview_; }
  void SetDesignPreview(bool preview) { design_preview_ = preview; }  // no design time here
  const TIconList* IconList() const { return icon_list_; }
  void SetIconList(const TIconList* list);
  bool CycleIcons() const { return cycle_icons_; }
  void SetCycleIcons(bool cycle);
  std::uint32_t CycleInterval() const { return cycle_interval_; }
  void SetCycleInterval(std::uint32_t interval_ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);
  bool ShowHint() const { return show_hint_; }
  void SetShowHint(bool show);
  // The owned picture; nullptr when empty.
  HICON Icon() const { return icon_.get(); }
  // Copies `icon` (an icon the caller keeps); nullptr, or a handle that cannot be copied, leaves
  // the picture empty.
  void SetIcon(HICON icon);
  bool IconVisible() const { return icon_visible_; }
  void SetIconVisible(bool visible);
  std::int32_t IconIndex() const { return icon_index_; }
  void SetIconIndex(std::int32_t index);
  const TPopupMenu* PopupMenu() const { return popup_menu_; }
  void SetPopupMenu(const TPopupMenu* menu) { popup_menu_ = menu; }
  bool LeftPopup() const { return left_popup_; }
  void SetLeftPopup(bool left) { left_popup_ = left; }
  bool WantEnterExitEvents() const { return want_enter_exit_; }
  void SetWantEnterExitEvents(bool want);
  bool MinimizeToTray() const { return minimize_to_tray_; }
  void SetMinimizeToTray(bool minimize) { minimize_to_tray_ = minimize; }
  // How the shell is asked to report mouse activity; applied at load completion.
  TNotifyStyle NotifyStyle() const { return notify_style_; }
  void SetNotifyStyle(TNotifyStyle style) { notify_style_ = style; }

  // A list or menu the icon refers to is going away: the reference is cleared.
  void Notification(const TIconList& removed);
  void Notification(const TPopupMenu& removed);

  // Events. A failure they raise goes to the failure report.
  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  std::function<void(std::int32_t next_index)> OnCycle;
  std::function<void(bool& show_main_form)> OnStartup;
  std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseDown;
  std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseUp;
  std::function<void(TShiftState shift, int x, int y)> OnMouseMove;
  std::function<void()> OnMouseEnter;
  std::function<void()> OnMouseExit;
  std::function<void()> OnMinimizeToTray;
  std::function<void()> OnBalloonHintShow;
  std::function<void()> OnBalloonHintHide;
  std::function<void()> OnBalloonHintTimeout;
  std::function<void()> OnBalloonHintClick;

  // What the shell was last handed, and the identity it knows the icon by.
  const NOTIFYICONDATAA& NotifyData() const { return data_; }
  UINT Identity() const { return data_.uID; }
  const TSimpleTimer& ClickTimer() const { return click_timer_; }

 protected:
  virtual void DoClick();
  virtual void DoDblClick();
  virtual void DoCycle(std::int32_t next_index);
  virtual void DoMouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void DoMouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void DoMouseMove(TShiftState shift, int x, int y);
  virtual void DoMouseEnter();
  virtual void DoMouseExit();
  // Hides the main window and keeps the icon in the tray.
  virtual void DoMinimizeToTray();

 private:
  friend class TTrayIconHandler;

  // Called from the shared window with the shell's notification.
  void Notify(UINT notification);
  void RunSteps(const std::vector<TrayStep>& steps);
  void CycleStep();
  void ExitCheck();
  void MenuPopup();
  void ClickDefaultItem();
  // Replaces the picture; `notify` runs the picture's change notification (UpdateIcon).
  void AssignIcon(HICON icon, bool notify);
  bool ShellCall(DWORD operation);

  void ApplicationMessage(const AppMessage& message);
  // Watches the owner's minimise and show messages through a subclass.
  void InterceptOwner();
  void OwnerMessage(UINT message, WPARAM wparam, LPARAM lparam, bool& intercepted);

  // Event handlers may destroy the icon: whoever runs one checks this before going on.
  std::weak_ptr<void> AliveToken() const { return alive_; }

  // The registrations first, so they are undone last, after everything that could use them.
  TTrayIconHandler::Registration registration_{*this};
  TForm* owner_;
  ApplicationHook application_hook_;
  std::optional<ScopedSubclass> owner_subclass_;
  std::shared_ptr<void> alive_;

  bool enabled_ = true;
  UniqueIcon icon_;
  bool icon_visible_ = false;
  std::string hint_;
  bool show_hint_ = true;
  const TPopupMenu* popup_menu_ = nullptr;
  bool left_popup_ = false;
  bool minimize_to_tray_ = false;
  TrayClickRules rules_;
  TSimpleTimer cycle_timer_;
  TSimpleTimer click_timer_;
  TSimpleTimer exit_timer_;
  POINT last_cursor_{};
  bool want_enter_exit_ = false;
  TNotifyStyle notify_style_ = TNotifyStyle::nsLegacy;
  std::int32_t icon_index_ = 0;
  bool design_preview_ = false;
  bool startup_pending_ = true;
  const TIconList* icon_list_ = nullptr;
  bool cycle_icons_ = false;
  std::uint32_t cycle_interval_ = 0;
  NOTIFYICONDATAA data_{};
};

}  // namespace kestrune
