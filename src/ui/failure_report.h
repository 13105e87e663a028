// The one way a failure reaches the operator: a stop box owned by the application window.
#pragma once

#include <string>

#include "base/exceptions.h"

namespace kestrune {

// Shows the failure's message (with the "." rule) in a box captioned with the application title,
// with the thread's other windows disabled while it is open. An EAbort shows nothing; while a box
// is open a further failure is not shown, so a failure that recurs at every tick cannot pile up.
void ReportFailure(const Exception& failure);

// Told the text of every box just before it shows (the restart history keeps it); nullptr: none.
using FailureBoxObserver = void (*)(const std::string& text) noexcept;
void SetFailureBoxObserver(FailureBoxObserver observer) noexcept;

}  // namespace kestrune
