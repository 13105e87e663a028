#include "supervision/tool_runner.h"

#include <gtest/gtest.h>

#include "ui/application.h"
#include "test_support.h"

namespace kestrune {
namespace {

using test_support::InstallStandinTool;
using test_support::TempDir;

int g_ticks = 0;

ToolRun RunTool(const TempDir& dir, const std::string& file, DWORD limit_ms = kToolWaitLimitMs) {
  return RunToolAndWait(Application(), Application().Handle(), file,
                        " -of query.txt -P -a2s 127.0.0.1:27499", dir.Path(), kShowHidden,
                        limit_ms);
}

TEST(RunToolAndWait, TellsHowTheToolEnded) {
  TempDir dir;
  InstallStandinTool(dir, "exit-code 7\ntimeout-ms 200\n");
  const ToolRun ended = RunTool(dir, "qstat.exe");
  EXPECT_EQ(ended.outcome, ToolRun::Outcome::kEnded);
  EXPECT_EQ(ended.exit_code, 7);

  // A tool that cannot be started: the platform's reason, and no box of the shell's own.
  test_support::BoxWatcher boxes;
  const ToolRun missing = RunTool(dir, "missing.exe");
  EXPECT_EQ(missing.outcome, ToolRun::Outcome::kNotStarted);
  EXPECT_NE(missing.error, 0u);
  EXPECT_TRUE(boxes.Seen(1, 1000).empty());
}

TEST(RunToolAndWait, AToolPastTheLimitIsEnded) {
  TempDir dir;
  InstallStandinTool(dir, "never-end\ntimeout-ms 200\n");
  EXPECT_EQ(RunTool(dir, "qstat.exe", 500).outcome, ToolRun::Outcome::kTimedOut);
  const auto runs = test_support::ReadToolRecords(dir);
  ASSERT_EQ(runs.size(), 1u);
  const auto tool = test_support::OpenForWait(runs[0].pid);
  EXPECT_TRUE(!tool || !test_support::IsRunning(tool.get()));
}

TEST(RunToolAndWait, DispatchesMessagesWhileTheToolRuns) {
  TempDir dir;
  InstallStandinTool(dir, "sleep-ms 800\ntimeout-ms 200\n");
  g_ticks = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { ++g_ticks; });
  EXPECT_EQ(RunTool(dir, "qstat.exe").exit_code, 0);
  KillTimer(nullptr, timer);
  EXPECT_GT(g_ticks, 2);
}

}  // namespace
}  // namespace kestrune
