#include "tray/tray_rules.h"

#include <algorithm>

namespace kestrune {

TrayTip PrepareTip(std::string_view hint, bool show_hint) {
  TrayTip tip{};
  if (show_hint && !hint.empty()) {
    std::copy_n(hint.begin(), std::min(hint.size(), kTrayTipSize - 1), tip.begin());
  }
  return tip;
}

std::vector<TrayStep> TrayClickRules::Notify(unsigned notification,
                                             const TrayDecodeSettings& settings,
                                             bool click_timer_running) {
  namespace n = tray_notification;
  using enum TrayStep::Kind;
  constexpr TMouseButton left = TMouseButton::mbLeft;
  constexpr TMouseButton right = TMouseButton::mbRight;
  constexpr TMouseButton middle = TMouseButton::mbMiddle;

  // Balloons are not mouse activity: Enabled does not silence them.
  switch (notification) {
    case n::kBalloonShow:
      return {{kBalloonShow}};
    case n::kBalloonHide:
      return {{kBalloonHide}};
    case n::kBalloonTimeout:
      return {{kBalloonTimeout}};
    case n::kBalloonUserClick:
      return {{kBalloonClick}};
  }
  if (!settings.enabled) return {};

  const bool legacy = settings.notify_style == TNotifyStyle::nsLegacy;
  std::vector<TrayStep> steps;
  switch (notification) {
    case n::kMouseMove:
      if (settings.want_enter_exit_events && exit_reported_) {
        exit_reported_ = false;
        steps.push_back({kMouseEnter});
      }
      steps.push_back({kMouseMove});
      break;
    case n::kLButtonDown:
      if (settings.has_dbl_click_handler) steps.push_back({kStartClickTimer});
      steps.push_back({kMouseDown, left});
      click_started_ = true;
      if (settings.left_popup && settings.menu_pops_up) steps.push_back({kMenuPopup});
      break;
    case n::kLButtonUp:
      if (click_started_) {
        // While the click timer runs a double click may still come: the timer's step decides.
        click_ready_ = click_timer_running;
        if (!click_timer_running) steps.push_back({kClick});
      }
      click_started_ = false;
      steps.push_back({kMouseUp, left});
      break;
    case n::kLButtonDblClk:
      click_ready_ = false;
      // Only a pending timer step consumes the mark; left standing it would swallow a later click.
      if (click_timer_running) double_clicked_ = true;
      steps.push_back({kDblClick});
      if (settings.menu_pops_up && !settings.left_popup) steps.push_back({kDefaultItemClick});
      break;
    case n::kRButtonDown:
      steps.push_back({kMouseDown, right});
      if (settings.menu_pops_up) steps.push_back({kMenuPopup});
      break;
    case n::kRButtonUp:
      if (legacy) steps.push_back({kMouseUp, right});
      break;
    case n::kMButtonDown:
      steps.push_back({kMouseDown, middle});
      break;
    case n::kMButtonUp:
      steps.push_back({kMouseUp, middle});
      break;
    case n::kContextMenu:
    case n::kSelect:
    case n::kKeySelect:
      if (!legacy) steps.push_back({kMouseUp, right});
      break;
  }
  return steps;
}

std::vector<TrayStep> TrayClickRules::ClickTimerStep() {
  using enum TrayStep::Kind;
  std::vector<TrayStep> steps{{kStopClickTimer}};
  if (click_ready_ && !double_clicked_) steps.push_back({kClick});
  // The step ends its round: nothing it did not raise may carry over to the next click.
  click_ready_ = false;
  double_clicked_ = false;
  return steps;
}

std::vector<TrayStep> TrayClickRules::ExitCheck(bool cursor_moved_away) {
  if (exit_reported_ || !cursor_moved_away) return {};
  exit_reported_ = true;
  return {{TrayStep::kMouseExit}};
}

}  // namespace kestrune
