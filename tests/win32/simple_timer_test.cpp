#include "tray/simple_timer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/exceptions.h"
#include "ui/failure_sink.h"
#include "test_support.h"

namespace kestrune {
namespace {

using test_support::PumpUntil;

// Keeps the loop going until `reference` has ticked `ticks` more times: a yardstick for "long
// enough that another timer would have ticked", without measuring time.
void PumpForTicksOf(TSimpleTimer& reference, int ticks) {
  int seen = 0;
  reference.SetOnTimer([&] { ++seen; });
  reference.SetInterval(10);
  reference.SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return seen >= ticks; }, 10000));
  reference.SetEnabled(false);
  reference.SetOnTimer({});
}

TEST(SimpleTimer, StartsDisabledAndEnablingWithIntervalZeroDoesNothing) {
  const std::uint32_t running = TSimpleTimer::RunningCount();
  TSimpleTimer timer;
  EXPECT_EQ(timer.Interval(), 1000u);
  EXPECT_FALSE(timer.Enabled());
  EXPECT_FALSE(timer.AutoDisable());

  TSimpleTimer zero(0);
  zero.SetEnabled(true);
  EXPECT_FALSE(zero.Enabled());
  EXPECT_EQ(TSimpleTimer::RunningCount(), running);
}

TEST(SimpleTimer, TicksAreDeliveredToTheirOwnTimer) {
  int a_ticks = 0, b_ticks = 0;
  TSimpleTimer a(10, [&] { ++a_ticks; });
  TSimpleTimer b(10, [&] { ++b_ticks; });
  EXPECT_NE(a.Identity(), b.Identity());
  a.SetEnabled(true);
  EXPECT_TRUE(a.Enabled());
  EXPECT_TRUE(PumpUntil([&] { return a_ticks >= 3; }, 10000));
  EXPECT_EQ(b_ticks, 0);
  b.SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return b_ticks >= 3; }, 10000));
}

TEST(SimpleTimer, AutoDisableMakesAOneShot) {
  TSimpleTimer timer(10);
  timer.SetAutoDisable(true);
  int ticks = 0;
  bool enabled_in_tick = true;
  timer.SetOnTimer([&] {
    ++ticks;
    enabled_in_tick = timer.Enabled();
  });
  timer.SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return ticks > 0; }, 10000));
  EXPECT_FALSE(enabled_in_tick);
  EXPECT_FALSE(timer.Enabled());
  TSimpleTimer yardstick;
  PumpForTicksOf(yardstick, 5);
  EXPECT_EQ(ticks, 1);
}

// The running count follows the platform timers actually held: enabling twice, silencing with
// interval 0 and disabling afterwards, and destroying an enabled timer all leave it right.
TEST(SimpleTimer, RunningCountFollowsThePlatformTimers) {
  const std::uint32_t base = TSimpleTimer::RunningCount();
  auto timer = std::make_unique<TSimpleTimer>(5000);
  timer->SetEnabled(true);
  timer->SetEnabled(true);
  EXPECT_EQ(TSimpleTimer::RunningCount(), base + 1);

  timer->SetInterval(0);
  EXPECT_TRUE(timer->Enabled());
  EXPECT_EQ(TSimpleTimer::RunningCount(), base);
  timer->SetEnabled(false);
  timer->SetEnabled(false);
  EXPECT_FALSE(timer->Enabled());
  EXPECT_EQ(TSimpleTimer::RunningCount(), base);

  timer->SetInterval(5000);
  timer->SetEnabled(true);
  EXPECT_EQ(TSimpleTimer::RunningCount(), base + 1);
  timer.reset();
  EXPECT_EQ(TSimpleTimer::RunningCount(), base);
}

TEST(SimpleTimer, SilencedTimersStayEnabledAndComeBack) {
  struct Case {
    const char* name;
    void (*silence)(TSimpleTimer&);
    void (*revive)(TSimpleTimer&, int& ticks);
  };
  const Case cases[] = {
      {"interval 0, then a new interval", [](TSimpleTimer& t) { t.SetInterval(0); },
       [](TSimpleTimer& t, int&) { t.SetInterval(10); }},
      {"handler removed, then given back", [](TSimpleTimer& t) { t.SetOnTimer({}); },
       [](TSimpleTimer& t, int& ticks) { t.SetOnTimer([&ticks] { ++ticks; }); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int ticks = 0;
    TSimpleTimer timer(10, [&] { ++ticks; });
    timer.SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return ticks > 0; }, 10000));
    c.silence(timer);
    EXPECT_TRUE(timer.Enabled());
    ticks = 0;
    TSimpleTimer yardstick;
    PumpForTicksOf(yardstick, 5);
    EXPECT_EQ(ticks, 0);
    c.revive(timer, ticks);
    EXPECT_TRUE(PumpUntil([&] { return ticks > 0; }, 10000));
  }
}

// Re-applying the interval a timer has must not keep restarting it.
TEST(SimpleTimer, TheSameIntervalChangesNothing) {
  int ticks = 0;
  TSimpleTimer timer(150, [&] { ++ticks; });
  timer.SetEnabled(true);
  EXPECT_TRUE(PumpUntil(
      [&] {
        timer.SetInterval(150);
        return ticks > 0;
      },
      10000));
}

TEST(SimpleTimer, AFailingTickIsReportedAndATickMayDestroyItsTimer) {
  static std::vector<std::string> reported;
  reported.clear();
  const FailureReporter previous =
      SetFailureReporter([](const Exception& failure) { reported.push_back(failure.Message()); });
  {
    int ticks = 0;
    TSimpleTimer failing(10, [&] {
      ++ticks;
      throw Exception("tick failed");
    });
    failing.SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }, 10000));
    EXPECT_TRUE(failing.Enabled());
  }
  SetFailureReporter(previous);
  ASSERT_GE(reported.size(), 2u);
  EXPECT_EQ(reported.front(), "tick failed");

  // The last timer of the process going inside its own tick takes the shared window with it
  // once the tick is over.
  const std::uint32_t base = TSimpleTimer::RunningCount();
  auto self_destroying = std::make_unique<TSimpleTimer>(10);
  bool gone = false;
  self_destroying->SetOnTimer([&] {
    self_destroying.reset();
    gone = true;
  });
  self_destroying->SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return gone; }, 10000));
  EXPECT_EQ(TSimpleTimer::RunningCount(), base);
  // A new timer after that gets a new shared window and works.
  int ticks = 0;
  TSimpleTimer after(10, [&] { ++ticks; });
  after.SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return ticks > 0; }, 10000));
}

}  // namespace
}  // namespace kestrune
