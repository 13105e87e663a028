#include "ui/failure_report.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>

#include "ui/application.h"
#include "ui/failure_sink.h"
#include "ui/timer.h"
#include "test_support.h"

namespace kestrune {
namespace {

using test_support::BoxSeen;
using test_support::BoxWatcher;
using test_support::PumpUntil;

TEST(ReportFailure, ShowsTheMessageWithThePeriodRuleInAStopBoxOwnedByTheApplication) {
  struct Case {
    Exception failure;
    const wchar_t* text;
  };
  const Case cases[] = {
      {Exception("Unable to write to C:\\x\\KTN-Serv.ini"),
       L"Unable to write to C:\\x\\KTN-Serv.ini."},
      {EInOutError(104), L"I/O error 104."},
      {Exception("Server Crashed! Restarting..."), L"Server Crashed! Restarting..."},
      {Exception("ends in a blank "), L"ends in a blank "},
      {Exception("question?"), L"question?."},
      {Exception(""), L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failure.Message());
    BoxWatcher boxes;
    ReportFailure(c.failure);
    const auto seen = boxes.Seen(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, c.text);
    EXPECT_EQ(seen[0].caption, L"Kestrune v0.1 Pre-Beta");
    EXPECT_EQ(seen[0].owner, Application().Handle());
  }
}

TEST(ReportFailure, AnAbortShowsNothing) {
  BoxWatcher boxes;
  ReportFailure(EAbort());
  EXPECT_TRUE(boxes.Seen(1, 1000).empty());
}

TEST(ReportFailure, OtherWindowsAreDisabledWhileTheBoxIsOpenAndActiveAgainAfter) {
  test_support::VisibleWindow main(L"main");  // standing for the main window
  SetActiveWindow(main.get());
  ASSERT_EQ(GetActiveWindow(), main.get());
  bool enabled_while_open = true;
  BoxWatcher boxes(GetCurrentProcessId(),
                   [&] { enabled_while_open = IsWindowEnabled(main.get()) != FALSE; });
  ReportFailure(Exception("failed"));
  ASSERT_EQ(boxes.Seen(1).size(), 1u);
  EXPECT_FALSE(enabled_while_open);
  EXPECT_TRUE(IsWindowEnabled(main.get()));
  EXPECT_EQ(GetActiveWindow(), main.get());
}

// Run on a desktop of two monitors by its own test entry, which asks for them through
// KESTRUNE_EXPECTED_MONITORS; elsewhere it skips itself on a single monitor.
TEST(ReportFailureOnTwoMonitors, TheBoxComesUpOnTheMonitorOfTheActiveWindow) {
  if (GetSystemMetrics(SM_CMONITORS) < 2) {
    char expected[8] = {};
    ASSERT_EQ(GetEnvironmentVariableA("KESTRUNE_EXPECTED_MONITORS", expected, sizeof expected), 0u)
        << "the two-monitor desktop shows " << GetSystemMetrics(SM_CMONITORS) << " monitor(s)";
    GTEST_SKIP() << "needs a desktop with two monitors (scripts/two-monitors-run)";
  }
  // The window the operator works in, on the monitor that does not hold the application window.
  const HMONITOR home = MonitorFromWindow(Application().Handle(), MONITOR_DEFAULTTOPRIMARY);
  struct Search {
    HMONITOR home, other = nullptr;
  } search{home};
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, RECT*, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        if (monitor != s.home && !s.other) s.other = monitor;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  ASSERT_NE(search.other, nullptr);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetMonitorInfoW(search.other, &info));
  test_support::VisibleWindow working(L"working", info.rcWork.left + 100, info.rcWork.top + 100);
  SetForegroundWindow(working.get());
  SetActiveWindow(working.get());
  ASSERT_EQ(MonitorFromWindow(working.get(), MONITOR_DEFAULTTONEAREST), search.other);
  RECT home_place;
  GetWindowRect(Application().Handle(), &home_place);

  BoxWatcher boxes;
  ReportFailure(Exception("failed"));
  const auto seen = boxes.Seen(1);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(MonitorFromRect(&seen[0].bounds, MONITOR_DEFAULTTONEAREST), search.other);
  // The application window is back where it was.
  RECT after;
  GetWindowRect(Application().Handle(), &after);
  EXPECT_EQ(after.left, home_place.left);
  EXPECT_EQ(after.top, home_place.top);
}

TEST(ReportFailure, AFailureWhileABoxIsOpenIsNotShown) {
  // Ticks keep coming while the box is open; each fails again.
  // The box stays open until four ticks have failed behind it.
  TTimer timer;
  std::atomic<int> failures = 0;
  const UniqueHandle four_failed(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  timer.OnTimer = [&] {
    if (++failures == 4) SetEvent(four_failed.get());
    throw EInOutError(104);
  };
  timer.SetInterval(50);
  BoxWatcher boxes(GetCurrentProcessId(), [&] { WaitForSingleObject(four_failed.get(), 10000); });
  timer.SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return failures >= 4; }, 10000));
  timer.SetEnabled(false);
  const auto seen = boxes.Seen(1);
  // One box per failure that came while none was open: far fewer boxes than failures.
  EXPECT_GE(seen.size(), 1u);
  EXPECT_LT(seen.size(), std::size_t(failures.load()));
}

TEST(ReportFailure, AnythingThrownAtADispatchPointIsCaught) {
  BoxWatcher boxes;
  CallGuarded([] { throw std::runtime_error("not one of ours"); });
  const auto seen = boxes.Seen(1);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, L"not one of ours.");
}

}  // namespace
}  // namespace kestrune

namespace kestrune {
namespace {

TEST(ApplicationWindow, CarriesTheTitleAndASystemMenuWithoutMaximizeSizeOrMove) {
  EXPECT_EQ(Application().Title(), "Kestrune v0.1 Pre-Beta");
  const HMENU menu = GetSystemMenu(Application().Handle(), FALSE);
  ASSERT_NE(menu, nullptr);
  for (UINT command : {SC_MAXIMIZE, SC_SIZE, SC_MOVE}) {
    EXPECT_EQ(GetMenuState(menu, command, MF_BYCOMMAND), UINT(-1)) << command;
  }
  EXPECT_NE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), UINT(-1));
  // Owner of the windows, never a child: the taskbar entry is its own.
  EXPECT_EQ(GetWindow(Application().Handle(), GW_OWNER), nullptr);
}

TEST(ApplicationWindow, HooksSeeMessagesFirstInOrderAndTheFirstToHandleEndsIt) {
  constexpr UINT kProbe = WM_APP + 7;
  std::vector<int> order;
  const auto watcher = [&](int number) {
    return [&order, number](AppMessage& message) {
      if (message.message == kProbe) order.push_back(number);
      return false;
    };
  };
  ApplicationHook first(Application(), watcher(1));
  std::optional<ApplicationHook> second;
  second.emplace(Application(), [&](AppMessage& message) {
    if (message.message != kProbe) return false;
    order.push_back(2);
    message.result = 42;
    return true;
  });
  {
    ApplicationHook third(Application(), watcher(3));
    EXPECT_EQ(SendMessageW(Application().Handle(), kProbe, 0, 0), 42);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));

    second.reset();
    order.clear();
    SendMessageW(Application().Handle(), kProbe, 0, 0);
    EXPECT_EQ(order, (std::vector<int>{1, 3}));
  }
  // The hooks that went are never offered a message again.
  order.clear();
  SendMessageW(Application().Handle(), kProbe, 0, 0);
  EXPECT_EQ(order, std::vector<int>{1});
}

TEST(ApplicationWindow, AHookThatEndsAnotherWhileAMessageRunsKeepsItFromThatMessage) {
  constexpr UINT kProbe = WM_APP + 8;
  int later_calls = 0;
  std::optional<ApplicationHook> later;
  ApplicationHook ender(Application(), [&](AppMessage& message) {
    if (message.message == kProbe) later.reset();
    return false;
  });
  later.emplace(Application(), [&](AppMessage& message) {
    later_calls += message.message == kProbe;
    return false;
  });
  SendMessageW(Application().Handle(), kProbe, 0, 0);
  EXPECT_EQ(later_calls, 0);
}

}  // namespace
}  // namespace kestrune
