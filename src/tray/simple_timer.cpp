#include "tray/simple_timer.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "ui/failure_sink.h"
#include "ui/window_base.h"
#include "tray/shared_handler.h"

namespace kestrune {

// The hidden window that receives every simple timer's WM_TIMER and hands it to its timer.
class TSimpleTimerHandler : public SharedHandler<TSimpleTimerHandler, TSimpleTimer, UINT_PTR> {
 public:
  std::uint32_t running = 0;

 private:
  friend class SharedHandler<TSimpleTimerHandler, TSimpleTimer, UINT_PTR>;

  TSimpleTimerHandler() {
    CreateWindowHandle({.class_name = L"KestruneSimpleTimerWindow", .parent = HWND_MESSAGE});
  }

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message != WM_TIMER) return WindowBase::HandleMessage(message, wparam, lparam);
    TSimpleTimer* timer = Find(wparam);
    if (!timer) return 0;
    if (timer->auto_disable_) timer->SetEnabled(false);
    if (!timer->on_timer_) return 0;
    // The handler may destroy its own timer: run a copy.
    Dispatch(std::function<void()>(timer->on_timer_));
    return 0;
  }
};

struct TSimpleTimer::Registration : TSimpleTimerHandler::Registration {
  using TSimpleTimerHandler::Registration::Registration;
};

TSimpleTimer::TSimpleTimer(std::uint32_t interval_ms, std::function<void()> on_timer)
    : registration_(std::make_unique<Registration>(*this)),
      interval_(interval_ms),
      on_timer_(std::move(on_timer)) {}

TSimpleTimer::~TSimpleTimer() {
  // A running platform timer counts until it is killed.
  if (enabled_) SetEnabled(false);
}

UINT_PTR TSimpleTimer::Identity() const {
  return registration_->Identity();
}

void TSimpleTimer::SetEnabled(bool enabled) {
  if (enabled) {
    if (interval_ == 0) return;
    Start();
  } else {
    enabled_ = false;
    Kill();
  }
}

void TSimpleTimer::SetInterval(std::uint32_t interval_ms) {
  if (interval_ms == interval_) return;
  interval_ = interval_ms;
  if (!enabled_) return;
  if (interval_ == 0) {
    Kill();
  } else {
    Start();
  }
}

void TSimpleTimer::SetOnTimer(std::function<void()> on_timer) {
  const bool had_handler = bool(on_timer_);
  on_timer_ = std::move(on_timer);
  if (!enabled_ || had_handler == bool(on_timer_)) return;
  if (on_timer_) {
    if (interval_ != 0) Start();
  } else {
    Kill();
  }
}

void TSimpleTimer::Start() {
  Kill();
  TSimpleTimerHandler* handler = TSimpleTimerHandler::Instance();
  // Intervals beyond what the platform takes are held at its maximum.
  const UINT elapse = UINT(std::min<std::uint32_t>(interval_, USER_TIMER_MAXIMUM));
  enabled_ = handler && ArmTimer(timer_, handler->Window(), Identity(), elapse);
  if (enabled_) ++handler->running;
}

void TSimpleTimer::Kill() {
  if (!timer_) return;
  timer_.reset();
  TSimpleTimerHandler* handler = TSimpleTimerHandler::Instance();
  if (handler && handler->running > 0) --handler->running;
}

std::uint32_t TSimpleTimer::RunningCount() {
  const TSimpleTimerHandler* handler = TSimpleTimerHandler::Instance();
  return handler ? handler->running : 0;
}

}  // namespace kestrune
