// The tray icon's light timer on the platform's window timers. Every timer of the process is
// delivered to one hidden window, shared and reference-counted, so a timer costs no window of its
// own, and a timer the platform refuses just stays disabled. The check timer (ui/timer.h) is the
// other kind: a window of its own, and a refusal the operator is told of.
#pragma once

#include "base/win32/prelude.h"

#include "base/win32/window_registrations.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace kestrune {

class TSimpleTimer {
 public:
  explicit TSimpleTimer(std::uint32_t interval_ms = 1000, std::function<void()> on_timer = {});
  ~TSimpleTimer();
  TSimpleTimer(const TSimpleTimer&) = delete;
  TSimpleTimer& operator=(const TSimpleTimer&) = delete;

  // The timer's own identity, which is also its platform timer id.
  UINT_PTR Identity() const;

  bool Enabled() const { return enabled_; }
  // Enabling (re)starts the countdown; with an interval of 0 it does nothing. A timer the platform
  // refuses stays disabled.
  void SetEnabled(bool enabled);

  std::uint32_t Interval() const { return interval_; }
  // A new interval restarts an enabled timer; 0 silences it while it stays enabled.
  void SetInterval(std::uint32_t interval_ms);

  // When on, the timer disables itself before each tick: a one-shot.
  bool AutoDisable() const { return auto_disable_; }
  void SetAutoDisable(bool auto_disable) { auto_disable_ = auto_disable; }

  const std::function<void()>& OnTimer() const { return on_timer_; }
  // Removing the handler silences an enabled timer; giving one back starts it again.
  void SetOnTimer(std::function<void()> on_timer);

  // How many of the process's timers hold a platform timer right now.
  static std::uint32_t RunningCount();

 private:
  friend class TSimpleTimerHandler;
  struct Registration;
  void Start();
  void Kill();

  std::unique_ptr<Registration> registration_;
  UniqueTimer timer_;  // the platform timer while one runs
  bool enabled_ = false;
  std::uint32_t interval_;
  bool auto_disable_ = false;
  std::function<void()> on_timer_;
};

}  // namespace kestrune
