#include "supervision/restart_backoff.h"

#include <algorithm>
#include <limits>

namespace kestrune {

using std::chrono::milliseconds;

RestartDecision RestartBackoff::OnFailure(milliseconds now) {
  const milliseconds ran_for = launched_at_ ? now - *launched_at_ : milliseconds::zero();
  if (ran_for >= kQuickFailureWindow) {
    quick_failures_ = 0;
    return {ran_for, 0, milliseconds::zero()};
  }
  // An endless loop never overflows the count.
  if (quick_failures_ < std::numeric_limits<int>::max()) ++quick_failures_;
  milliseconds wait = kFirstRestartWait;
  for (int i = 1; i < quick_failures_ && wait < kLongestRestartWait; ++i) wait *= 2;
  return {ran_for, quick_failures_, std::min(wait, kLongestRestartWait)};
}

void RestartBackoff::Reset() {
  launched_at_.reset();
  quick_failures_ = 0;
}

std::string RestartingInStatus(milliseconds remaining) {
  const auto seconds = std::chrono::ceil<std::chrono::seconds>(remaining).count();
  return "Restarting in " + std::to_string(seconds) + " s";
}

std::string RestartWaitHistory(const RestartDecision& decision) {
  using std::chrono::floor;
  using std::chrono::seconds;
  return "Server failed " + std::to_string(floor<seconds>(decision.ran_for).count()) +
         " s after its launch, quick failure " + std::to_string(decision.quick_failures) +
         " in a row: next launch in " +
         std::to_string(std::chrono::ceil<seconds>(decision.wait).count()) + " s";
}

}  // namespace kestrune
