#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "supervision/restart_backoff.h"

namespace kestrune {
namespace {

using namespace std::chrono_literals;
using std::chrono::milliseconds;

TEST(RestartBackoff, QuickFailuresInARowDoubleTheWaitUpToFiveMinutes) {
  const int expected_waits[] = {2, 4, 8, 16, 32, 64, 128, 256, 300, 300, 300};
  const milliseconds run_times[] = {0ms, 30s, 59'999ms};
  RestartBackoff backoff;
  milliseconds now = 5'000'000s;  // the clock's origin is anyone's
  int failures = 0;
  for (int wait : expected_waits) {
    SCOPED_TRACE("quick failure " + std::to_string(failures + 1));
    backoff.OnLaunch(now);
    const milliseconds ran_for = run_times[failures % 3];
    now += ran_for;
    const RestartDecision decision = backoff.OnFailure(now);
    EXPECT_EQ(decision.wait, std::chrono::seconds(wait));
    EXPECT_EQ(decision.quick_failures, ++failures);
    EXPECT_EQ(decision.ran_for, ran_for);
    now += decision.wait;
  }
  // It never gives up and never waits longer, however long the loop goes on.
  for (int i = 0; i < 5000; ++i) {
    backoff.OnLaunch(now);
    now += 1s;
    ASSERT_EQ(backoff.OnFailure(now).wait, 300s) << i;
    now += 300s;
  }
}

// One step of a supervision run: a launch, a failure and the wait it must give, or Stop/Start.
struct BackoffStep {
  enum Kind { kLaunch, kFailure, kReset } kind;
  milliseconds at;
  milliseconds wait;
};
BackoffStep Launch(milliseconds at) {
  return {BackoffStep::kLaunch, at, 0ms};
}
BackoffStep Fails(milliseconds at, milliseconds wait) {
  return {BackoffStep::kFailure, at, wait};
}
BackoffStep StopStart() {
  return {BackoffStep::kReset, 0ms, 0ms};
}

TEST(RestartBackoff, WhatClearsTheCount) {
  struct Case {
    const char* what;
    std::vector<BackoffStep> steps;
  };
  const Case cases[] = {
      {"a server that ran 60 s is relaunched at once, and the count starts again",
       {Launch(0s), Fails(10s, 2s), Launch(12s), Fails(20s, 4s), Launch(24s), Fails(84s, 0s),
        Launch(84s), Fails(85s, 2s)}},
      {"59.999 s is still quick",
       {Launch(0s), Fails(1s, 2s), Launch(3s), Fails(3s + 59'999ms, 4s)}},
      {"long runs never wait",
       {Launch(0s), Fails(60s, 0s), Launch(60s), Fails(3600s, 0s), Launch(3600s),
        Fails(3660s, 0s)}},
      {"the run counts from the latest launch, not the first",
       {Launch(0s), Fails(10s, 2s), Launch(12s), Fails(20s, 4s), Launch(24s), Fails(30s, 8s),
        Launch(38s), Fails(70s, 16s)}},
      {"the run counts from the launch, not from the previous failure",
       {Launch(0s), Fails(10s, 2s), Launch(100s), Fails(105s, 4s)}},
      {"Stop and Start forget the quick failures",
       {Launch(0s), Fails(1s, 2s), Launch(3s), Fails(4s, 4s), Launch(8s), Fails(9s, 8s),
        StopStart(), Launch(20s), Fails(21s, 2s)}},
      {"a failure with no launch since Start is quick",
       {Launch(0s), Fails(1s, 2s), StopStart(), Fails(500s, 2s)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RestartBackoff backoff;
    for (const BackoffStep& step : c.steps) {
      switch (step.kind) {
        case BackoffStep::kLaunch:
          backoff.OnLaunch(step.at);
          break;
        case BackoffStep::kFailure:
          EXPECT_EQ(backoff.OnFailure(step.at).wait, step.wait) << "failure at " << step.at;
          break;
        case BackoffStep::kReset:
          backoff.Reset();
          break;
      }
    }
  }
}

TEST(RestartBackoff, Texts) {
  struct Case {
    milliseconds remaining;
    const char* status;
  };
  const Case cases[] = {
      {300s, "Restarting in 300 s"}, {2s, "Restarting in 2 s"},  {1500ms, "Restarting in 2 s"},
      {1001ms, "Restarting in 2 s"}, {1ms, "Restarting in 1 s"}, {299'001ms, "Restarting in 300 s"},
  };
  for (const Case& c : cases) EXPECT_EQ(RestartingInStatus(c.remaining), c.status);

  RestartBackoff backoff;
  backoff.OnLaunch(100s);
  backoff.OnFailure(100s + 4'900ms);
  backoff.OnLaunch(107s);
  EXPECT_EQ(RestartWaitHistory(backoff.OnFailure(107s + 12'700ms)),
            "Server failed 12 s after its launch, quick failure 2 in a row: next launch in 4 s");
}

}  // namespace
}  // namespace kestrune
