#include "ui/timer.h"

#include <gtest/gtest.h>

#include "base/exceptions.h"
#include "ui/failure_sink.h"
#include "test_support.h"

namespace kestrune {
namespace {

using test_support::PumpUntil;

// Re-applying the values a timer holds, again and again, must not keep it from ticking; a new
// value each time must.
TEST(Timer, OnlyANewValueRestartsTheCountdown) {
  TTimer timer;
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  timer.SetInterval(600);
  timer.SetEnabled(true);
  for (int round = 0; round < 25 && ticks == 0; ++round) {
    PumpUntil([] { return false; }, 100);
    timer.SetInterval(600);
    timer.SetEnabled(true);
  }
  EXPECT_GT(ticks, 0);

  ticks = 0;
  for (int round = 0; round < 20; ++round) {
    timer.SetInterval(round % 2 ? 600 : 601);
    PumpUntil([] { return false; }, 100);
  }
  EXPECT_EQ(ticks, 0);
}

TEST(Timer, ZeroIntervalOrDisabledStaysSilent) {
  TTimer timer;
  EXPECT_EQ(timer.Interval(), 1000u);
  EXPECT_FALSE(timer.Enabled());
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  timer.SetInterval(50);
  PumpUntil([] { return false; }, 300);
  timer.SetInterval(0);
  timer.SetEnabled(true);
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(ticks, 0);
  timer.SetInterval(50);
  EXPECT_TRUE(PumpUntil([&] { return ticks > 0; }, 5000));
}

TEST(Timer, AFailingTickIsReportedAndTheTimerGoesOn) {
  static std::vector<std::string> reported;
  reported.clear();
  const FailureReporter previous =
      SetFailureReporter([](const Exception& failure) { reported.push_back(failure.Message()); });
  TTimer timer;
  int ticks = 0;
  timer.OnTimer = [&] {
    ++ticks;
    throw EInOutError(104);
  };
  timer.SetInterval(30);
  timer.SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }, 5000));
  SetFailureReporter(previous);
  EXPECT_GE(reported.size(), 2u);
  EXPECT_EQ(reported.front(), "I/O error 104");
  EXPECT_TRUE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 30u);
}

}  // namespace
}  // namespace kestrune
