// Where a failure caught at a dispatch point goes. The application installs its failure report
// here at start-up; every exception barrier delivers through DeliverCurrentFailure.
#pragma once

#include "base/exceptions.h"

namespace kestrune {

using FailureReporter = void (*)(const Exception& failure);

// Installs the reporter and returns the previous one (nullptr: failures are dropped).
FailureReporter SetFailureReporter(FailureReporter reporter) noexcept;

// Call from inside a catch block: hands the exception in flight to the reporter. Exceptions that
// are not the system's own failures are reported with their description; nothing escapes.
void DeliverCurrentFailure() noexcept;

// Runs `handler` behind an exception barrier.
template <typename Handler>
void CallGuarded(Handler&& handler) noexcept {
  try {
    handler();
  } catch (...) {
    DeliverCurrentFailure();
  }
}

}  // namespace kestrune
