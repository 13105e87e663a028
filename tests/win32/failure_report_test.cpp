#include "shell/failure_report.h"

#include <gtest/gtest.h>

#include "shell/application.h"
#include "shell/failure_sink.h"
#include "shell/timer.h"
#include "test_support.h"

namespace kestrune {
namespace {

using testing::BoxSeen;
using testing::BoxWatcher;
using testing::PumpUntil;

// A visible top-level window of the test's thread, standing for the main window.
class VisibleWindow {
 public:
  VisibleWindow()
      : window_(CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                                200, 100, nullptr, nullptr, nullptr, nullptr)) {}
  HWND get() const { return window_.get(); }

 private:
  UniqueHwnd window_;
};

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
  VisibleWindow main;
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

TEST(ReportFailure, AFailureWhileABoxIsOpenIsNotShown) {
  // Ticks keep coming while the box is open; each fails again.
  TTimer timer;
  int failures = 0;
  timer.OnTimer = [&] {
    ++failures;
    throw EInOutError(104);
  };
  timer.SetInterval(50);
  BoxWatcher boxes(GetCurrentProcessId(), [] { Sleep(600); });
  timer.SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return failures >= 4; }, 10000));
  timer.SetEnabled(false);
  const auto seen = boxes.Seen(1);
  // One box per failure that came while none was open: far fewer boxes than failures.
  EXPECT_GE(seen.size(), 1u);
  EXPECT_LT(seen.size(), std::size_t(failures));
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
