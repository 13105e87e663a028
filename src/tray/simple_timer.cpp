#include "tray/simple_timer.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "shell/failure_sink.h"
#include "shell/window_base.h"

namespace kestrune {

// The hidden window that receives every simple timer's WM_TIMER and hands it to its timer.
class TSimpleTimerHandler : private WindowBase {
 public:
  static TSimpleTimerHandler& Acquire() {
    if (!instance_) instance_.reset(new TSimpleTimerHandler);
    ++instance_->references_;
    return *instance_;
  }

  static void Release() noexcept {
    if (!instance_ || instance_->references_ == 0) return;
    --instance_->references_;
    instance_->DestroyWhenUnused();
  }

  static TSimpleTimerHandler* Instance() { return instance_.get(); }

  ~TSimpleTimerHandler() override { DestroyWindowHandle(); }

  HWND Window() const { return Handle(); }

  UINT_PTR Register(TSimpleTimer& timer) {
    // Identities are never reused while a timer still has them, so a WM_TIMER left in the queue
    // by a timer that has gone never reaches a newer one.
    do {
      if (++last_identity_ == 0) ++last_identity_;
    } while (Find(last_identity_));
    timers_.push_back(&timer);
    return last_identity_;
  }

  void Unregister(const TSimpleTimer& timer) {
    timers_.erase(std::remove(timers_.begin(), timers_.end(), &timer), timers_.end());
  }

  std::uint32_t running = 0;

 private:
  TSimpleTimerHandler() {
    CreateWindowHandle({.class_name = L"KestruneSimpleTimerWindow", .parent = HWND_MESSAGE});
  }

  TSimpleTimer* Find(UINT_PTR identity) const {
    const auto found = std::find_if(timers_.begin(), timers_.end(), [&](TSimpleTimer* timer) {
      return timer->identity_ == identity;
    });
    return found == timers_.end() ? nullptr : *found;
  }

  // A tick may destroy the last timer: the window then goes once the tick is over.
  void DestroyWhenUnused() noexcept {
    if (references_ == 0 && dispatching_ == 0) instance_.reset();
  }

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message != WM_TIMER) return WindowBase::HandleMessage(message, wparam, lparam);
    TSimpleTimer* timer = Find(wparam);
    if (!timer) return 0;
    if (timer->auto_disable_) timer->SetEnabled(false);
    if (!timer->on_timer_) return 0;
    // The handler may destroy its own timer, or the last one: run a copy, report its failure
    // here, and keep this window until the handler has returned.
    const std::function<void()> handler = timer->on_timer_;
    ++dispatching_;
    CallGuarded(handler);
    --dispatching_;
    DestroyWhenUnused();
    return 0;
  }

  // The unit's finalization destroys a handler that is still there.
  static inline std::unique_ptr<TSimpleTimerHandler> instance_;
  std::uint32_t references_ = 0;
  std::uint32_t dispatching_ = 0;
  UINT_PTR last_identity_ = 0;
  std::vector<TSimpleTimer*> timers_;
};

TSimpleTimer::TSimpleTimer(std::uint32_t interval_ms, std::function<void()> on_timer)
    : interval_(interval_ms), on_timer_(std::move(on_timer)) {
  TSimpleTimerHandler& handler = TSimpleTimerHandler::Acquire();
  try {
    identity_ = handler.Register(*this);
  } catch (...) {
    TSimpleTimerHandler::Release();
    throw;
  }
}

TSimpleTimer::~TSimpleTimer() {
  if (enabled_) SetEnabled(false);
  if (TSimpleTimerHandler* handler = TSimpleTimerHandler::Instance()) handler->Unregister(*this);
  TSimpleTimerHandler::Release();
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
  enabled_ = handler && ::SetTimer(handler->Window(), identity_, elapse, nullptr) != 0;
  if (enabled_) ++handler->running;
}

void TSimpleTimer::Kill() {
  TSimpleTimerHandler* handler = TSimpleTimerHandler::Instance();
  if (handler && ::KillTimer(handler->Window(), identity_) && handler->running > 0) {
    --handler->running;
  }
}

std::uint32_t TSimpleTimer::RunningCount() {
  const TSimpleTimerHandler* handler = TSimpleTimerHandler::Instance();
  return handler ? handler->running : 0;
}

}  // namespace kestrune
