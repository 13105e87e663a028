#include "supervision/failure_confirmation.h"

namespace kestrune {

void FailureConfirmation::OnLaunch(std::chrono::milliseconds now) {
  launched_at_ = now;
  failures_in_a_row_ = 0;
}

FailedCheckOutcome FailureConfirmation::OnFailedCheck(std::chrono::milliseconds now) {
  if (launched_at_ && now - *launched_at_ < start_grace_) {
    return {FailedCheckVerdict::kIgnoredInGrace, failures_in_a_row_, failures_needed_};
  }
  // Past the failures needed the count stays put: the verdict no longer changes.
  if (failures_in_a_row_ < failures_needed_) ++failures_in_a_row_;
  const FailedCheckVerdict verdict = failures_in_a_row_ >= failures_needed_
                                         ? FailedCheckVerdict::kRestart
                                         : FailedCheckVerdict::kCounted;
  return {verdict, failures_in_a_row_, failures_needed_};
}

std::string NoResponseStatus(int failures_in_a_row, int failures_needed) {
  return "No response (" + std::to_string(failures_in_a_row) + " of " +
         std::to_string(failures_needed) + ")";
}

}  // namespace kestrune
