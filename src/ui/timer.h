// The check timer component: an interval in milliseconds, an enabled flag and a tick event, served
// through the message loop by a hidden window of its own. It raises when the platform refuses a
// timer, so the operator learns that checks cannot run; the tray icon's light timers
// (tray/simple_timer.h) share one window and fail quietly instead, as the icon's cycling and click
// timing may.
#pragma once

#include <cstdint>
#include <functional>

#include "base/win32/window_registrations.h"
#include "ui/window_base.h"

namespace kestrune {

class TTimer final : private WindowBase {
 public:
  TTimer();

  std::uint32_t Interval() const { return interval_; }
  bool Enabled() const { return enabled_; }

  // A value the timer already holds changes nothing; a new one restarts the countdown. An
  // interval of 0 keeps the timer silent while enabled. Raise EOutOfResources "Not enough timers
  // available" when the platform cannot arm the timer.
  void SetInterval(std::uint32_t interval_ms);
  void SetEnabled(bool enabled);

  // The tick handler; failures it raises go to the failure report and the timer goes on.
  std::function<void()> OnTimer;

 private:
  void UpdateTimer();
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  std::uint32_t interval_ = 1000;
  bool enabled_ = false;
  UniqueTimer armed_;
};

}  // namespace kestrune
