// A window-message timer component: an interval in milliseconds, an enabled flag and a tick event,
// served through the message loop by a hidden window of its own.
#pragma once

#include <cstdint>
#include <functional>

#include "shell/window_base.h"

namespace kestrune {

class TTimer : private WindowBase {
 public:
  TTimer();
  ~TTimer() override;

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
  bool armed_ = false;
};

}  // namespace kestrune
