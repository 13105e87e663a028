#include <gtest/gtest.h>

#include <chrono>
#include <map>

#include "base/exceptions.h"
#include "supervision/query_result.h"
#include "supervision/supervisor.h"
#include "test_support.h"

namespace kestrune {
namespace {

using test_support::BoxWatcher;
using test_support::FakeWindow;
using test_support::InstallStandinTool;
using test_support::IsRunning;
using test_support::OpenForWait;
using test_support::PumpUntil;
using test_support::ReadServerRecords;
using test_support::ReadToolRecords;
using test_support::TempDir;
using test_support::WriteFileBytes;

// Runs `action` once, `ms` from now, from the thread's message loop (a check's wait included).
void AfterMs(UINT ms, std::function<void()> action) {
  static std::map<UINT_PTR, std::function<void()>> pending;
  const UINT_PTR id = SetTimer(nullptr, 0, ms, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    const auto action = std::move(pending[id]);
    pending.erase(id);
    if (action) action();
  });
  pending[id] = std::move(action);
}

const std::string kHeader = "ADDRESS           PLAYERS      MAP   RESPONSE TIME    NAME\r\n";

TEST(ReadQueryResult, ReadsLineTwoOfRealFiles) {
  TempDir dir;
  const std::string path = dir.File("query.txt");
  WriteFileBytes(path, kHeader + "127.0.0.1:27015  no response\r\nthird\r\n");
  EXPECT_EQ(ReadQueryResult(path), "127.0.0.1:27015  no response");
  WriteFileBytes(path, "ADDRESS  PLAYERS\n127.0.0.1:27015  no response\n");
  EXPECT_EQ(ReadQueryResult(path), "");

  // Other readers are welcome while the check reads.
  UniqueFile reader(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(reader);
  EXPECT_EQ(ReadQueryResult(path), "");
}

TEST(ReadQueryResult, AFileThatCannotBeOpenedIsIoError104) {
  TempDir dir;
  const std::string held = dir.File("held.txt");
  WriteFileBytes(held, kHeader);
  UniqueFile writer(
      CreateFileA(held.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(writer);
  for (const std::string& path : {dir.File("missing.txt"), dir.Path(), held}) {
    SCOPED_TRACE(path);
    try {
      ReadQueryResult(path);
      ADD_FAILURE() << "no failure";
    } catch (const EInOutError& failure) {
      EXPECT_EQ(failure.ErrorCode(), 104);
      EXPECT_EQ(failure.Message(), "I/O error 104");
    }
  }
}

TEST(ReadQueryResult, ALongPathIsUsedWhole) {
  TempDir dir;
  std::string path = dir.Path();
  while (path.size() < 300) {
    path += std::string(60, 'd') + "\\";
    ASSERT_TRUE(
        CreateDirectoryW((L"\\\\?\\" + std::wstring(path.begin(), path.end())).c_str(), nullptr));
  }
  path += "query.txt";
  const std::wstring wide(path.begin(), path.end());
  UniqueFile file(CreateFileW((L"\\\\?\\" + wide).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              0, nullptr));
  ASSERT_TRUE(file);
  const std::string bytes = kHeader + "far away  no response\r\n";
  DWORD written = 0;
  WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr);
  file.reset();
  EXPECT_EQ(ReadQueryResult(path), "far away  no response");
}

class HealthCheckTest : public ::testing::Test {
 protected:
  HealthCheckTest()
      : settings_path_(dir_.File("KTN-Serv.ini")),
        supervisor_(
            window_, pump_, nullptr, [this] { return settings_path_; },
            [this] { return dir_.File("KTN-Serv.log"); }) {
    window_.on_check_box_click = [this] { supervisor_.AutoStartChanged(); };
    supervisor_.SetClock(
        [this] { return std::chrono::milliseconds(GetTickCount64()) + time_moved_on_; });
    window_.FillForStandins(dir_, "27411");
  }

  void TearDown() override { test_support::EndStandins(dir_); }

  // Starts the server and lets it run long enough that a failure is not a quick one.
  void StartSupervising() {
    supervisor_.StartServer();
    MoveTimeOn(std::chrono::seconds(61));
    window_.statuses.clear();
  }
  void MoveTimeOn(std::chrono::milliseconds by) { time_moved_on_ += by; }
  // A check whose tool left no result file fails as the file's read does: I/O error 104.
  void ExpectCheckFailsForAMissingResult() {
    try {
      supervisor_.Check();
      ADD_FAILURE() << "no failure";
    } catch (const EInOutError& failure) {
      EXPECT_EQ(failure.ErrorCode(), 104);
    }
  }
  DWORD ServerPid() { return supervisor_.Server().ServerProcessInfo().dwProcessId; }
  void Mute() { WriteFileBytes(dir_.File("standin-server.mute"), ""); }
  // The history's lines without their time stamps.
  std::vector<std::string> History() {
    std::vector<std::string> lines;
    const std::string text = test_support::ReadFileBytes(dir_.File("KTN-Serv.log"));
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
      lines.push_back(text.substr(start + 21, end - start - 21));  // "YYYY-MM-DD hh:mm:ss  "
    }
    return lines;
  }
  bool HistoryHas(const std::string& part) {
    for (const std::string& line : History()) {
      if (line.find(part) != std::string::npos) return true;
    }
    return false;
  }

  TempDir dir_;
  std::string settings_path_;
  std::chrono::milliseconds time_moved_on_{0};
  FakeWindow window_;
  test_support::ThreadPump pump_;
  Supervisor supervisor_;
};

TEST_F(HealthCheckTest, AnAnsweringServerPasses) {
  InstallStandinTool(dir_);
  StartSupervising();
  supervisor_.Check();
  EXPECT_EQ(window_.statuses,
            (std::vector<std::string>{"Quring server", "Query status: Server Enabled"}));
  ASSERT_EQ(ReadToolRecords(dir_).size(), 1u);
  EXPECT_EQ(ReadToolRecords(dir_)[0].command_line.substr(
                ReadToolRecords(dir_)[0].command_line.find(" -of")),
            " -of query.txt -P -a2s 127.0.0.1:27411");
  EXPECT_EQ(ReadToolRecords(dir_)[0].working_directory + "\\", dir_.Path());
}

TEST_F(HealthCheckTest, AServerThatStoppedAnsweringIsKilledAndRelaunched) {
  InstallStandinTool(dir_, "timeout-ms 300\n");
  StartSupervising();
  const auto old_server = OpenForWait(ServerPid());
  Mute();

  supervisor_.Check();

  EXPECT_EQ(window_.statuses,
            (std::vector<std::string>{"Quring server", "Server Crashed! Restarting...",
                                      "Starting server"}));
  EXPECT_FALSE(IsRunning(old_server.get()));
  ASSERT_EQ(ReadServerRecords(dir_).size(), 2u);
  EXPECT_TRUE(IsRunning(OpenForWait(ServerPid()).get()));
  EXPECT_TRUE(supervisor_.CheckTimer().Enabled());
  EXPECT_EQ(supervisor_.CheckTimer().Interval(), 600000u);
}

TEST_F(HealthCheckTest, ACheckWithoutAVerdictLeavesTheServerAndSaysWhy) {
  // Every case starts from an earlier result that a stale read would act on.
  const std::string stale_no_response = kHeader + "127.0.0.1:27411  no response\r\n";
  struct Case {
    const char* tool;  // "" for a tool that is not there
    std::string status;
    std::string history;
  };
  const Case cases[] = {
      {"never-end\n", "Query tool did not finish",
       "No verdict: the query tool did not finish within 1 s and was ended"},
      {"", "Query tool could not be started", "could not be started: "},
  };
  supervisor_.SetToolWaitLimit(1000);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tool);
    DeleteFileA(dir_.File("qstat.exe").c_str());
    if (*c.tool) InstallStandinTool(dir_, c.tool);
    StartSupervising();
    const auto server = OpenForWait(ServerPid());
    WriteFileBytes(dir_.File("query.txt"), stale_no_response);
    BoxWatcher boxes;  // the shell must not show a box of its own
    for (int tick = 1; tick <= 2; ++tick) {
      supervisor_.Check();
      EXPECT_EQ(window_.Status(), c.status);
    }
    EXPECT_TRUE(IsRunning(server.get()));
    EXPECT_TRUE(supervisor_.CheckTimer().Enabled());
    EXPECT_TRUE(HistoryHas(c.history));
    EXPECT_TRUE(boxes.Seen(1, 1000).empty());
    for (const auto& tool : ReadToolRecords(dir_)) {
      EXPECT_FALSE(IsRunning(OpenForWait(tool.pid).get())) << "the tool was left running";
    }
  }
}

TEST_F(HealthCheckTest, AnEarlierResultIsNeverReadAsThisChecksVerdict) {
  StartSupervising();
  const auto server = OpenForWait(ServerPid());
  // A stale "no response" with a tool that answers: no restart.
  InstallStandinTool(dir_);
  WriteFileBytes(dir_.File("query.txt"), kHeader + "127.0.0.1:27411  no response\r\n");
  supervisor_.Check();
  EXPECT_EQ(window_.Status(), "Query status: Server Enabled");
  EXPECT_TRUE(IsRunning(server.get()));
  // A stale answer with a tool that writes nothing: no "Server Enabled", the missing file fails.
  InstallStandinTool(dir_, "write-nothing\n");
  WriteFileBytes(dir_.File("query.txt"), kHeader + "127.0.0.1:27411  1/16 de_dust2 5 / 0 x\r\n");
  ExpectCheckFailsForAMissingResult();
  EXPECT_NE(window_.Status(), "Query status: Server Enabled");
  EXPECT_TRUE(IsRunning(server.get()));
}

TEST_F(HealthCheckTest, AnEarlierResultThatCannotBeRemovedGivesNoVerdict) {
  InstallStandinTool(dir_);
  StartSupervising();
  WriteFileBytes(dir_.File("query.txt"), kHeader + "127.0.0.1:27411  no response\r\n");
  const UniqueFile held(CreateFileA(dir_.File("query.txt").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  supervisor_.Check();
  EXPECT_EQ(window_.Status(), "Query result file could not be removed");
  EXPECT_TRUE(ReadToolRecords(dir_).empty());
  EXPECT_EQ(ReadServerRecords(dir_).size(), 1u);
  EXPECT_TRUE(HistoryHas("No verdict: the earlier result " + dir_.File("query.txt") +
                         " could not be removed: "));
}

TEST_F(HealthCheckTest, ARelaunchGoesAheadWhenTheSettingsCannotBeSaved) {
  InstallStandinTool(dir_, "timeout-ms 300\n");
  StartSupervising();
  const auto old_server = OpenForWait(ServerPid());
  Mute();
  settings_path_ = "Z:\\proc\\KTN-Serv.ini";  // unwritable from now on
  try {
    supervisor_.Check();
    ADD_FAILURE() << "no failure";
  } catch (const Exception& failure) {
    EXPECT_EQ(failure.Message(), "Unable to write to Z:\\proc\\KTN-Serv.ini");
  }
  EXPECT_FALSE(IsRunning(old_server.get()));
  ASSERT_EQ(ReadServerRecords(dir_).size(), 2u);
  EXPECT_TRUE(IsRunning(OpenForWait(ServerPid()).get()));
  EXPECT_TRUE(supervisor_.CheckTimer().Enabled());
  EXPECT_EQ(window_.Status(), "Starting server");
}

TEST_F(HealthCheckTest, TheHistoryTellsAWholeCycle) {
  InstallStandinTool(dir_, "timeout-ms 300\n");
  supervisor_.StartSupervision();
  MoveTimeOn(std::chrono::seconds(61));
  const DWORD first = ServerPid();
  Mute();
  supervisor_.Check();
  const DWORD second = ServerPid();
  DeleteFileA(dir_.File("standin-server.mute").c_str());
  supervisor_.Check();
  supervisor_.Check();  // healthy checks after the first answer leave no line
  supervisor_.StopSupervision();

  const std::string path = dir_.File("srcds.exe");
  const std::vector<std::string> expected = {
      "Supervision started: " + path + " -port 27411",
      "Launched the server: process " + std::to_string(first),
      "Check failed: \"127.0.0.1:27411  no response\"",
      "Killed the server (process " + std::to_string(first) + ")",
      "Launched the server: process " + std::to_string(second),
      "The server answered: \"",
      "Killed the server (process " + std::to_string(second) + ")",
      "Supervision stopped",
  };
  const std::vector<std::string> history = History();
  ASSERT_EQ(history.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(history[i].substr(0, expected[i].size()), expected[i]) << "line " << i;
  }
  const std::string text = test_support::ReadFileBytes(dir_.File("KTN-Serv.log"));
  EXPECT_EQ(text[4], '-');
  EXPECT_EQ(text.substr(19, 2), "  ");
}

TEST_F(HealthCheckTest, AMissingResultIsReportedAndTheTimerGoesOn) {
  InstallStandinTool(dir_, "write-nothing\n");
  StartSupervising();
  ExpectCheckFailsForAMissingResult();
  EXPECT_EQ(window_.Status(), "Quring server");
  EXPECT_TRUE(supervisor_.CheckTimer().Enabled());
  EXPECT_EQ(ReadServerRecords(dir_).size(), 1u);

  // Through the timer, the failure reaches the operator in a box and the checks go on.
  BoxWatcher boxes;
  supervisor_.CheckTimer().SetInterval(200);
  const auto seen = boxes.Seen(1);
  supervisor_.CheckTimer().SetEnabled(false);
  ASSERT_GE(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, L"I/O error 104.");
  EXPECT_EQ(seen[0].caption, L"Kestrune v0.1 Pre-Beta");
  EXPECT_GE(ReadToolRecords(dir_).size(), 2u);
}

TEST_F(HealthCheckTest, AStopDuringTheWaitIsNotUndone) {
  InstallStandinTool(dir_, "sleep-ms 1500\ntimeout-ms 300\n");
  StartSupervising();
  Mute();
  AfterMs(300, [this] { supervisor_.StopSupervision(); });
  supervisor_.Check();
  EXPECT_EQ(window_.statuses, (std::vector<std::string>{"Quring server", "Server stoped"}));
  EXPECT_FALSE(supervisor_.CheckTimer().Enabled());
  EXPECT_EQ(ReadServerRecords(dir_).size(), 1u);
}

TEST_F(HealthCheckTest, AStartDuringTheWaitKeepsTheNewServer) {
  InstallStandinTool(dir_, "sleep-ms 1500\ntimeout-ms 300\n");
  StartSupervising();
  Mute();
  AfterMs(300, [this] { supervisor_.StartSupervision(); });
  supervisor_.Check();
  EXPECT_EQ(window_.statuses,
            (std::vector<std::string>{"Quring server", "Starting server", "Server started"}));
  ASSERT_EQ(ReadServerRecords(dir_).size(), 2u);
  EXPECT_TRUE(IsRunning(OpenForWait(ServerPid()).get()));
}

TEST_F(HealthCheckTest, ATickDuringTheWaitStartsNoNestedCheck) {
  InstallStandinTool(dir_, "sleep-ms 1500\n");
  window_.fields[SettingField::kDelay] = "0";
  StartSupervising();
  supervisor_.CheckTimer().SetInterval(100);  // ticks fall due again and again during the wait
  supervisor_.Check();
  supervisor_.CheckTimer().SetEnabled(false);
  EXPECT_EQ(std::count(window_.statuses.begin(), window_.statuses.end(), "Quring server"), 1);
  EXPECT_EQ(window_.Status(), "Query status: Server Enabled");
  EXPECT_EQ(ReadToolRecords(dir_).size(), 1u);
  // Afterwards the ticks run checks again.
  supervisor_.CheckTimer().SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return ReadToolRecords(dir_).size() >= 2; }, 10000));
  supervisor_.CheckTimer().SetEnabled(false);
}

}  // namespace
}  // namespace kestrune
