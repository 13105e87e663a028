#include "supervision/tool_runner.h"

#include <gtest/gtest.h>

#include "ui/application.h"
#include "test_support.h"

namespace kestrune {
namespace {

using test_support::InstallStandinTool;
using test_support::TempDir;

int g_ticks = 0;

TEST(RunToolAndWait, ReturnsTheToolsExitCodeOrMinusOne) {
  TempDir dir;
  InstallStandinTool(dir, "exit-code 7\ntimeout-ms 200\n");
  EXPECT_EQ(RunToolAndWait(Application(), Application().Handle(), "qstat.exe",
                           " -of query.txt -P -a2s 127.0.0.1:27499", dir.Path(), kShowHidden),
            7);
  // The shell reports the missing file in a box of its own, owned by the application window.
  test_support::BoxWatcher boxes;
  EXPECT_EQ(RunToolAndWait(Application(), Application().Handle(), "missing.exe", "", dir.Path(),
                           kShowHidden),
            -1);
  for (const auto& box : boxes.Seen()) EXPECT_EQ(box.owner, Application().Handle());
}

TEST(RunToolAndWait, DispatchesMessagesWhileTheToolRuns) {
  TempDir dir;
  InstallStandinTool(dir, "sleep-ms 800\ntimeout-ms 200\n");
  g_ticks = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { ++g_ticks; });
  EXPECT_EQ(RunToolAndWait(Application(), Application().Handle(), "qstat.exe",
                           " -of query.txt -P -a2s 127.0.0.1:27499", dir.Path(), kShowHidden),
            0);
  KillTimer(nullptr, timer);
  EXPECT_GT(g_ticks, 2);
}

}  // namespace
}  // namespace kestrune
