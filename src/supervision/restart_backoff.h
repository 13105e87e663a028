// The crash-loop back-off: how long the supervisor waits before launching a server again when it
// keeps ending or failing soon after its launches. The supervisor never gives up; it only waits
// longer, up to a cap, whatever the check delay.
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace kestrune {

// A failure that comes less than this long after the server's launch is a quick failure.
inline constexpr std::chrono::milliseconds kQuickFailureWindow = std::chrono::seconds(60);
// The wait after the first quick failure in a row; each further one doubles it, up to the cap.
inline constexpr std::chrono::milliseconds kFirstRestartWait = std::chrono::seconds(2);
inline constexpr std::chrono::milliseconds kLongestRestartWait = std::chrono::seconds(300);

// What the back-off makes of one failure.
struct RestartDecision {
  std::chrono::milliseconds ran_for;  // from the server's launch to the failure
  int quick_failures;                 // in a row, this one included; 0 when the server ran long
  std::chrono::milliseconds wait;     // before the next launch; zero for none
};

// Times are readings of one monotonic clock, from any fixed origin, passed in by the caller.
// A failure is a server whose process ended, or one that a check found not answering and that is
// about to be killed for it.
class RestartBackoff {
 public:
  // The server was launched at `now`.
  void OnLaunch(std::chrono::milliseconds now) { launched_at_ = now; }

  // The server failed at `now`. A server that ran kQuickFailureWindow or longer clears the count
  // of quick failures and is relaunched at once; one that failed sooner adds to the count and
  // waits kFirstRestartWait x 2^(count - 1), kLongestRestartWait at most. With no launch known
  // since construction or Reset, the failure is taken as coming right at a launch.
  RestartDecision OnFailure(std::chrono::milliseconds now);

  // Stop or Start: earlier quick failures are forgotten.
  void Reset();

 private:
  std::optional<std::chrono::milliseconds> launched_at_;
  int quick_failures_ = 0;
};

// The status line while the supervisor waits: "Restarting in N s", N being the `remaining` time
// in whole seconds, rounded up.
std::string RestartingInStatus(std::chrono::milliseconds remaining);

// The restart history's line on a failure that makes the supervisor wait, saying why, e.g.
// "Server failed 12 s after its launch, quick failure 3 in a row: next launch in 8 s".
std::string RestartWaitHistory(const RestartDecision& decision);

}  // namespace kestrune
