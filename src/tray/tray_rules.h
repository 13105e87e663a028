// The tray icon's rules that need no operating system: the tip it hands the shell, whether the
// platform's common controls are recent enough for the taskbar-created broadcast, and how the
// shell's mouse notifications turn into the icon's events.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace kestrune {

// The tip field of the shell's notification record: 127 single-byte characters at most, always
// zero-terminated, zero-filled behind the text.
inline constexpr std::size_t kTrayTipSize = 128;
using TrayTip = std::array<char, kTrayTipSize>;

// The hint cut to fit; all zeros when the hint is empty or hints are off.
TrayTip PrepareTip(std::string_view hint, bool show_hint);

// A module version as the tray icon compares it: major * 65536 + minor.
constexpr std::uint32_t PackVersion(std::uint16_t major, std::uint16_t minor) {
  return (std::uint32_t(major) << 16) | minor;
}

// Common controls 4.71 come with the shell that broadcasts "TaskbarCreated".
constexpr bool RegistersTaskbarCreated(std::uint32_t packed_version) {
  return packed_version >= PackVersion(4, 71);
}

// The notifications the shell delivers, by the values of the platform's messages.
namespace tray_notification {
inline constexpr unsigned kContextMenu = 0x007B;
inline constexpr unsigned kMouseMove = 0x0200;
inline constexpr unsigned kLButtonDown = 0x0201;
inline constexpr unsigned kLButtonUp = 0x0202;
inline constexpr unsigned kLButtonDblClk = 0x0203;
inline constexpr unsigned kRButtonDown = 0x0204;
inline constexpr unsigned kRButtonUp = 0x0205;
inline constexpr unsigned kRButtonDblClk = 0x0206;
inline constexpr unsigned kMButtonDown = 0x0207;
inline constexpr unsigned kMButtonUp = 0x0208;
inline constexpr unsigned kMButtonDblClk = 0x0209;
inline constexpr unsigned kSelect = 0x0400;
inline constexpr unsigned kKeySelect = 0x0401;
inline constexpr unsigned kBalloonShow = 0x0402;
inline constexpr unsigned kBalloonHide = 0x0403;
inline constexpr unsigned kBalloonTimeout = 0x0404;
inline constexpr unsigned kBalloonUserClick = 0x0405;
}  // namespace tray_notification

enum class TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

// The keys down at a notification plus the button it concerns.
using TShiftState = std::uint8_t;
inline constexpr TShiftState ssShift = 0x01;
inline constexpr TShiftState ssAlt = 0x02;
inline constexpr TShiftState ssCtrl = 0x04;
inline constexpr TShiftState ssLeft = 0x08;
inline constexpr TShiftState ssRight = 0x10;
inline constexpr TShiftState ssMiddle = 0x20;

constexpr TShiftState ShiftOf(TMouseButton button) {
  switch (button) {
    case TMouseButton::mbLeft:
      return ssLeft;
    case TMouseButton::mbRight:
      return ssRight;
    case TMouseButton::mbMiddle:
      return ssMiddle;
  }
  return 0;
}

// How the shell reports mouse activity: plain mouse messages, or the version-5 selections.
enum class TNotifyStyle : std::uint8_t { nsLegacy, nsVersion5 };

// One thing the icon does in answer to a notification, in the order given.
struct TrayStep {
  enum Kind : std::uint8_t {
    kStartClickTimer,  // for the double-click time
    kStopClickTimer,
    kMouseEnter,
    kMouseExit,
    kMouseMove,
    kMouseDown,
    kMouseUp,
    kClick,
    kDblClick,
    kMenuPopup,
    kDefaultItemClick,
    kBalloonShow,
    kBalloonHide,
    kBalloonTimeout,
    kBalloonClick,
  };
  Kind kind;
  TMouseButton button = TMouseButton::mbLeft;  // for kMouseDown and kMouseUp
  bool operator==(const TrayStep&) const = default;
};

// What the icon's settings contribute to the decoding.
struct TrayDecodeSettings {
  bool enabled = true;
  TNotifyStyle notify_style = TNotifyStyle::nsLegacy;
  bool has_dbl_click_handler = false;
  bool want_enter_exit_events = false;
  bool left_popup = false;
  bool menu_pops_up = false;  // a popup menu is set and pops up by itself
};

// Turns notifications, click-timer steps and exit checks into steps. Every state change is made
// before the steps are returned, so a handler that re-enters finds the state settled.
class TrayClickRules {
 public:
  std::vector<TrayStep> Notify(unsigned notification, const TrayDecodeSettings& settings,
                               bool click_timer_running);
  // The click timer fired: a click that waited for it is raised unless a double click came.
  std::vector<TrayStep> ClickTimerStep();
  // The exit timer looked at the cursor.
  std::vector<TrayStep> ExitCheck(bool cursor_moved_away);

  bool ClickStarted() const { return click_started_; }
  bool ClickReady() const { return click_ready_; }

 private:
  bool click_started_ = false;
  bool click_ready_ = false;
  bool double_clicked_ = false;
  bool exit_reported_ = true;
};

}  // namespace kestrune
