#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "supervision/failure_confirmation.h"
#include "supervision/restart_backoff.h"
#include "supervision/watchdog_settings_rules.h"

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

// One step of checks: a launch, an answer, or a failed check and what must come of it.
struct CheckStep {
  enum Kind { kLaunch, kAnswer, kFailed } kind;
  milliseconds at;
  FailedCheckVerdict verdict;
  int failures_in_a_row;
};
const char* Name(FailedCheckVerdict verdict) {
  switch (verdict) {
    case FailedCheckVerdict::kIgnoredInGrace:
      return "ignored in the grace";
    case FailedCheckVerdict::kCounted:
      return "counted";
    case FailedCheckVerdict::kRestart:
      return "restart";
  }
  return "?";
}

CheckStep Launched(milliseconds at) {
  return {CheckStep::kLaunch, at, {}, 0};
}
CheckStep Answers() {
  return {CheckStep::kAnswer, 0ms, {}, 0};
}
CheckStep Ignored(milliseconds at) {
  return {CheckStep::kFailed, at, FailedCheckVerdict::kIgnoredInGrace, 0};
}
CheckStep Counted(milliseconds at, int n) {
  return {CheckStep::kFailed, at, FailedCheckVerdict::kCounted, n};
}
CheckStep Restart(milliseconds at, int n) {
  return {CheckStep::kFailed, at, FailedCheckVerdict::kRestart, n};
}

TEST(FailureConfirmation, VerdictsOnFailedChecks) {
  struct Case {
    const char* what;
    int failures_needed;
    int grace_seconds;
    std::vector<CheckStep> steps;
  };
  const Case cases[] = {
      {"without the keys every failed check restarts, even one right at the launch",
       1,
       0,
       {Launched(0s), Restart(0s, 1), Launched(10s), Answers(), Restart(20s, 1)}},
      {"two in a row", 2, 0, {Launched(0s), Counted(10s, 1), Restart(20s, 2)}},
      {"an answer starts the count again",
       3,
       0,
       {Launched(0s), Counted(10s, 1), Counted(20s, 2), Answers(), Counted(30s, 1), Counted(40s, 2),
        Restart(50s, 3)}},
      {"a launch starts the count again",
       2,
       0,
       {Launched(0s), Counted(10s, 1), Launched(15s), Counted(20s, 1), Restart(30s, 2)}},
      {"past the count needed, every failure restarts until an answer",
       2,
       0,
       {Launched(0s), Counted(10s, 1), Restart(20s, 2), Restart(30s, 2), Answers(),
        Counted(40s, 1)}},
      {"failed checks ending within the grace do not count",
       1,
       30,
       {Launched(0s), Ignored(0s), Ignored(10s), Ignored(29'999ms), Restart(30s, 1)}},
      {"the grace runs from the latest launch",
       2,
       30,
       {Launched(100s), Ignored(110s), Counted(130s, 1), Restart(140s, 2), Launched(200s),
        Ignored(220s), Ignored(229'999ms), Counted(230s, 1), Answers(), Counted(300s, 1)}},
      {"an answer within the grace changes nothing",
       2,
       60,
       {Launched(0s), Answers(), Ignored(30s), Counted(60s, 1), Restart(70s, 2)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FailureConfirmation confirmation(c.failures_needed, std::chrono::seconds(c.grace_seconds));
    for (const CheckStep& step : c.steps) {
      switch (step.kind) {
        case CheckStep::kLaunch:
          confirmation.OnLaunch(step.at);
          break;
        case CheckStep::kAnswer:
          confirmation.OnAnswer();
          break;
        case CheckStep::kFailed: {
          const FailedCheckOutcome outcome = confirmation.OnFailedCheck(step.at);
          EXPECT_STREQ(Name(outcome.verdict), Name(step.verdict)) << "check ending at " << step.at;
          if (step.verdict != FailedCheckVerdict::kIgnoredInGrace) {
            EXPECT_EQ(outcome.failures_in_a_row, step.failures_in_a_row) << "at " << step.at;
          }
          EXPECT_EQ(outcome.failures_needed, c.failures_needed);
          break;
        }
      }
    }
  }
}

TEST(FailureConfirmation, NoResponseStatus) {
  EXPECT_EQ(NoResponseStatus(1, 2), "No response (1 of 2)");
  EXPECT_EQ(NoResponseStatus(99, 100), "No response (99 of 100)");
}

TEST(WatchdogSettings, ValuesAndFallbacks) {
  const WatchdogKey& k = kFailuresBeforeRestartKey;
  const WatchdogKey& g = kStartGraceSecondsKey;
  const std::string k_default = "; using the default 1";
  const std::string g_default = "; using the default 0";
  struct Case {
    const WatchdogKey& key;
    std::optional<std::string_view> text;  // none: the key is absent
    int value;
    std::optional<std::string> reason;
  };
  const Case cases[] = {
      {k, std::nullopt, 1, std::nullopt},
      {k, "1", 1, std::nullopt},
      {k, "3", 3, std::nullopt},
      {k, "100", 100, std::nullopt},
      {k, "+2", 2, std::nullopt},
      {k, "$A", 10, std::nullopt},
      {k, "0x10", 16, std::nullopt},
      {k, "", 1, "[Watchdog] FailuresBeforeRestart is empty" + k_default},
      {k, "two", 1, "[Watchdog] FailuresBeforeRestart=\"two\" is not an integer" + k_default},
      {k, "2 checks", 1,
       "[Watchdog] FailuresBeforeRestart=\"2 checks\" is not an integer" + k_default},
      {k, "1.5", 1, "[Watchdog] FailuresBeforeRestart=\"1.5\" is not an integer" + k_default},
      {k, "4294967296", 1,
       "[Watchdog] FailuresBeforeRestart=\"4294967296\" is not an integer" + k_default},
      {k, "0", 1, "[Watchdog] FailuresBeforeRestart=\"0\" is outside 1..100" + k_default},
      {k, "101", 1, "[Watchdog] FailuresBeforeRestart=\"101\" is outside 1..100" + k_default},
      {k, "-3", 1, "[Watchdog] FailuresBeforeRestart=\"-3\" is outside 1..100" + k_default},
      {k, "0xFFFFFFFF", 1,
       "[Watchdog] FailuresBeforeRestart=\"0xFFFFFFFF\" is outside 1..100" + k_default},
      {g, std::nullopt, 0, std::nullopt},
      {g, "0", 0, std::nullopt},
      {g, "45", 45, std::nullopt},
      {g, "86400", 86400, std::nullopt},
      {g, "", 0, "[Watchdog] StartGraceSeconds is empty" + g_default},
      {g, "x", 0, "[Watchdog] StartGraceSeconds=\"x\" is not an integer" + g_default},
      {g, "30s", 0, "[Watchdog] StartGraceSeconds=\"30s\" is not an integer" + g_default},
      {g, "86401", 0, "[Watchdog] StartGraceSeconds=\"86401\" is outside 0..86400" + g_default},
      {g, "-1", 0, "[Watchdog] StartGraceSeconds=\"-1\" is outside 0..86400" + g_default},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key.name) + (c.text ? "=\"" + std::string(*c.text) + "\"" : ""));
    const WatchdogValue parsed = ParseWatchdogValue(c.key, c.text);
    EXPECT_EQ(parsed.value, c.value);
    EXPECT_EQ(parsed.fallback_reason, c.reason);
  }
}

TEST(WatchdogSettings, ReadFromTheSection) {
  struct Case {
    const char* what;
    std::map<std::string, std::string> section;
    int failures_needed;
    int grace_seconds;
    std::size_t history_lines;
  };
  const Case cases[] = {
      {"no keys", {}, 1, 0, 0},
      {"both keys", {{"FailuresBeforeRestart", "3"}, {"StartGraceSeconds", "90"}}, 3, 90, 0},
      {"one key", {{"StartGraceSeconds", "90"}}, 1, 90, 0},
      {"both bad", {{"FailuresBeforeRestart", "0"}, {"StartGraceSeconds", "soon"}}, 1, 0, 2},
      {"one bad, one good", {{"FailuresBeforeRestart", "5"}, {"StartGraceSeconds", ""}}, 5, 0, 1},
      {"other keys are not ours", {{"Failures", "5"}, {"StartGrace", "90"}}, 1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const WatchdogSettingsRead read =
        ReadWatchdogSettings([&](const char* key) -> std::optional<std::string> {
          const auto found = c.section.find(key);
          if (found == c.section.end()) return std::nullopt;
          return found->second;
        });
    EXPECT_EQ(read.settings.failures_before_restart, c.failures_needed);
    EXPECT_EQ(read.settings.start_grace_seconds, c.grace_seconds);
    ASSERT_EQ(read.history.size(), c.history_lines);
    for (const std::string& line : read.history)
      EXPECT_NE(line.find("using the default"), line.npos);
  }
}

}  // namespace
}  // namespace kestrune
