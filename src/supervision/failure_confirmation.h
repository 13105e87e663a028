// Confirmation of a failed check before the server is killed: it takes a number of failed checks
// in a row, and failed checks soon after a launch (a server still loading its map) are not held
// against the server.
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace kestrune {

enum class FailedCheckVerdict {
  kIgnoredInGrace,  // ended within the grace after a launch: not counted
  kCounted,         // counted, but fewer than the failures needed yet: the server stays
  kRestart,         // the failures needed are reached: the server is killed and relaunched
};

struct FailedCheckOutcome {
  FailedCheckVerdict verdict;
  int failures_in_a_row;  // counted since the last answer or launch, this one included
  int failures_needed;
};

// Times are readings of one monotonic clock, from any fixed origin, passed in by the caller.
class FailureConfirmation {
 public:
  // `failures_needed` at least 1, `start_grace` not negative (as ReadWatchdogSettings gives them).
  FailureConfirmation(int failures_needed, std::chrono::milliseconds start_grace)
      : failures_needed_(failures_needed), start_grace_(start_grace) {}

  // The server was launched at `now`: the count starts again and so does the grace.
  void OnLaunch(std::chrono::milliseconds now);

  // A check found the server answering.
  void OnAnswer() { failures_in_a_row_ = 0; }

  // A check that ended at `now` found the server not answering. Within the grace (less than
  // `start_grace` after the last launch) it does not count. Otherwise it counts, and once the
  // count reaches the failures needed every further failed check says restart until an answer or
  // a launch starts the count again.
  FailedCheckOutcome OnFailedCheck(std::chrono::milliseconds now);

 private:
  int failures_needed_;
  std::chrono::milliseconds start_grace_;
  std::optional<std::chrono::milliseconds> launched_at_;
  int failures_in_a_row_ = 0;
};

// The status line for a counted failure that does not restart yet: "No response (1 of 2)".
std::string NoResponseStatus(int failures_in_a_row, int failures_needed);

}  // namespace kestrune
