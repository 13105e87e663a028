#include "ui/timer.h"

#include "base/exceptions.h"

namespace kestrune {
namespace {
constexpr UINT_PTR kTimerId = 1;
}  // namespace

TTimer::TTimer() {
  CreateWindowHandle({.class_name = L"KestruneTimerWindow", .parent = HWND_MESSAGE});
}

void TTimer::SetInterval(std::uint32_t interval_ms) {
  if (interval_ms == interval_) return;
  interval_ = interval_ms;
  UpdateTimer();
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  armed_.reset();
  if (!enabled_ || interval_ == 0) return;
  // Intervals beyond what the platform takes are held at its maximum.
  const UINT elapse = interval_ > USER_TIMER_MAXIMUM ? USER_TIMER_MAXIMUM : UINT(interval_);
  if (!ArmTimer(armed_, Handle(), kTimerId, elapse)) {
    throw EOutOfResources("Not enough timers available");
  }
}

LRESULT TTimer::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TIMER && wparam == kTimerId) {
    if (OnTimer) OnTimer();
    return 0;
  }
  return WindowBase::HandleMessage(message, wparam, lparam);
}

}  // namespace kestrune
