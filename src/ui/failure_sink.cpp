#include "ui/failure_sink.h"

#include <exception>
#include <new>

namespace kestrune {
namespace {
FailureReporter g_reporter = nullptr;
}  // namespace

FailureReporter SetFailureReporter(FailureReporter reporter) noexcept {
  const FailureReporter previous = g_reporter;
  g_reporter = reporter;
  return previous;
}

void DeliverCurrentFailure() noexcept {
  try {
    try {
      throw;
    } catch (const Exception& failure) {
      if (g_reporter) g_reporter(failure);
    } catch (const std::bad_alloc&) {
      if (g_reporter) g_reporter(EOutOfMemory());
    } catch (const std::exception& failure) {
      if (g_reporter) g_reporter(Exception(failure.what()));
    } catch (...) {
      if (g_reporter) g_reporter(Exception("Unknown failure"));
    }
  } catch (...) {
    // The report itself failed (out of memory while building a text): nothing more can be shown.
  }
}

}  // namespace kestrune
