#include "supervision/supervisor.h"

#include <gtest/gtest.h>

#include "base/exceptions.h"
#include "test_support.h"

namespace kestrune {
namespace {

using test_support::FakeWindow;
using test_support::InstallStandinServer;
using test_support::IsRunning;
using test_support::OpenForWait;
using test_support::PumpUntil;
using test_support::ReadFileBytes;
using test_support::ReadServerRecords;
using test_support::TempDir;
using test_support::WriteFileBytes;

class SupervisorTest : public ::testing::Test {
 protected:
  explicit SupervisorTest(std::string settings_path = "")
      : settings_path_(settings_path.empty() ? dir_.File("KTN-Serv.ini") : settings_path),
        supervisor_(
            window_, pump_, nullptr, [this] { return settings_path_; },
            [this] { return dir_.File("KTN-Serv.log"); }) {
    window_.on_check_box_click = [this] { supervisor_.AutoStartChanged(); };
    window_.fields[SettingField::kServerPath] = InstallStandinServer(dir_);
    window_.fields[SettingField::kAdditionalParams] = "-port 27201";
    window_.fields[SettingField::kDelay] = "60";
  }

  void TearDown() override {
    test_support::EndStandins(dir_);
    test_support::EndStandins(other_dir_);
  }

  std::size_t Launches() { return ReadServerRecords(dir_).size(); }

  // The failure message that `operation` raises, or "no failure".
  template <typename Operation>
  static std::string FailureOf(Operation&& operation) {
    try {
      operation();
    } catch (const Exception& failure) {
      return failure.Message();
    }
    return "no failure";
  }

  TempDir dir_;
  TempDir other_dir_;
  std::string settings_path_;
  FakeWindow window_;
  test_support::ThreadPump pump_;
  Supervisor supervisor_;
};

TEST_F(SupervisorTest, FirstRunCreatesTheFileAndDoesNotAutoStart) {
  supervisor_.LoadAtStart();
  EXPECT_EQ(window_.statuses, std::vector<std::string>{"Creating INI file..."});
  EXPECT_NE(ReadFileBytes(settings_path_).find("ServerPath="), std::string::npos);
  EXPECT_EQ(window_.FieldText(SettingField::kDelay), "60");
  EXPECT_FALSE(window_.AutoStartChecked());
  EXPECT_EQ(Launches(), 0u);
  EXPECT_FALSE(supervisor_.CheckTimer().Enabled());
}

TEST_F(SupervisorTest, OnlyAnAutoStartOfExactlyOneStartsSupervision) {
  struct Case {
    const char* settings_line;
    bool starts;
  };
  const Case cases[] = {
      {"AutoStart=\"1\"", true},  // the platform drops the quotes: the value read is 1
      {"AutoStart=yes", false},  {"AutoStart=2", false}, {"AutoStart=", false}, {"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings_line);
    TempDir dir;
    FakeWindow window;
    const std::string path = dir.File("KTN-Serv.ini");
    Supervisor supervisor(
        window, pump_, nullptr, [&] { return path; }, [&] { return dir.File("KTN-Serv.log"); });
    window.on_check_box_click = [&] { supervisor.AutoStartChanged(); };
    WriteFileBytes(path, "[Main]\r\nServerPath=" + InstallStandinServer(dir) +
                             "\r\nAdditionalParams=-port 27202\r\nDelay=30\r\n[Settings]\r\n" +
                             c.settings_line + "\r\n");

    supervisor.LoadAtStart();

    const auto records = ReadServerRecords(dir);
    EXPECT_EQ(window.AutoStartChecked(), c.starts);
    EXPECT_EQ(records.size(), c.starts ? 1u : 0u);
    EXPECT_EQ(supervisor.CheckTimer().Enabled(), c.starts);
    EXPECT_EQ(window.Status(), c.starts ? "Starting server" : "Creating INI file...");
    EXPECT_EQ(window.hide_count, 0);
    // Checking the box wrote AutoStart again, now without quotes.
    EXPECT_EQ(ReadFileBytes(path).find("AutoStart=1\r\n") != std::string::npos, c.starts);
    for (const auto& record : records) test_support::TerminateAll({record.pid});
  }
}

TEST_F(SupervisorTest, StartSavesLaunchesArmsAndHides) {
  window_.fields[SettingField::kQueryIp] = "127.0.0.1";
  supervisor_.StartSupervision();

  EXPECT_EQ(window_.statuses, (std::vector<std::string>{"Starting server", "Server started"}));
  EXPECT_EQ(window_.hide_count, 1);
  EXPECT_TRUE(supervisor_.CheckTimer().Enabled());
  EXPECT_EQ(supervisor_.CheckTimer().Interval(), 60000u);
  ASSERT_EQ(Launches(), 1u);
  EXPECT_EQ(ReadServerRecords(dir_)[0].command_line, "srcds.exe -port 27201");
  const std::string saved = ReadFileBytes(settings_path_);
  EXPECT_NE(saved.find("AdditionalParams=-port 27201"), std::string::npos);
  EXPECT_NE(saved.find("QueryIP=127.0.0.1"), std::string::npos);
}

TEST_F(SupervisorTest, AStartWhileTheServerRunsEndsItBeforeTheNextLaunch) {
  supervisor_.StartSupervision();
  const auto first = OpenForWait(supervisor_.Server().ServerProcessInfo().dwProcessId);
  window_.fields[SettingField::kAdditionalParams] = "-port 27203";
  supervisor_.StartSupervision();
  const auto second = OpenForWait(supervisor_.Server().ServerProcessInfo().dwProcessId);
  EXPECT_FALSE(IsRunning(first.get())) << "two copies of the server would fight over the port";
  EXPECT_TRUE(IsRunning(second.get()));
  EXPECT_EQ(ReadServerRecords(dir_).back().command_line, "srcds.exe -port 27203");

  supervisor_.StopSupervision();
  EXPECT_FALSE(IsRunning(second.get()));
  EXPECT_FALSE(supervisor_.CheckTimer().Enabled());
  EXPECT_EQ(window_.Status(), "Server stoped");
}

// A server started the way a launch starts it, as an earlier run of the supervisor left it.
UniqueHandle StartLeftover(const std::string& path, const std::string& params) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string command_line = "srcds.exe " + params;
  if (!CreateProcessA(path.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info)) {
    return UniqueHandle();
  }
  CloseHandle(info.hThread);
  WaitForInputIdle(info.hProcess, 10000);
  return UniqueHandle(info.hProcess);
}

TEST_F(SupervisorTest, ACopyLeftByAnEarlierRunIsEndedAndOtherServersAreLeftAlone) {
  const std::string path = window_.fields[SettingField::kServerPath];
  const UniqueHandle copy = StartLeftover(path, "-port 27201");
  const UniqueHandle other_params = StartLeftover(path, "-port 27299");
  const std::string elsewhere = test_support::InstallStandinServer(other_dir_);
  const UniqueHandle other_executable = StartLeftover(elsewhere, "-port 27201");
  ASSERT_TRUE(copy && other_params && other_executable);

  supervisor_.StartSupervision();

  EXPECT_FALSE(IsRunning(copy.get()));
  EXPECT_TRUE(IsRunning(other_params.get()));
  EXPECT_TRUE(IsRunning(other_executable.get()));
  EXPECT_TRUE(IsRunning(OpenForWait(supervisor_.Server().ServerProcessInfo().dwProcessId).get()));
  EXPECT_NE(ReadFileBytes(dir_.File("KTN-Serv.log"))
                .find("Ended a copy of the server left from an earlier run (process " +
                      std::to_string(GetProcessId(copy.get())) + ")"),
            std::string::npos);
  TerminateProcess(other_params.get(), 1);
  TerminateProcess(other_executable.get(), 1);
}

TEST_F(SupervisorTest, StopBeforeAnyStartOnlySetsTheStatus) {
  supervisor_.StopSupervision();
  EXPECT_EQ(window_.statuses, std::vector<std::string>{"Server stoped"});
  EXPECT_FALSE(supervisor_.CheckTimer().Enabled());
  EXPECT_EQ(Launches(), 0u);
}

TEST_F(SupervisorTest, DelayDecidesTheInterval) {
  struct Case {
    const char* delay;
    std::uint32_t interval;
  };
  const Case cases[] = {{"-1", 4294966296u}, {"$10", 16000u}, {"0", 0u}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.delay);
    window_.fields[SettingField::kDelay] = c.delay;
    supervisor_.StartServer();
    EXPECT_EQ(supervisor_.CheckTimer().Interval(), c.interval);
    EXPECT_TRUE(supervisor_.CheckTimer().Enabled());
    EXPECT_EQ(window_.Status(), "Starting server");
  }
}

TEST_F(SupervisorTest, DelayZeroArmsASilentTimer) {
  int ticks = 0;
  supervisor_.CheckTimer().OnTimer = [&] { ++ticks; };
  window_.fields[SettingField::kDelay] = "0";
  supervisor_.StartSupervision();
  EXPECT_TRUE(supervisor_.CheckTimer().Enabled());
  PumpUntil([] { return false; }, 500);
  EXPECT_EQ(ticks, 0);
  EXPECT_EQ(window_.Status(), "Server started");
}

TEST_F(SupervisorTest, ABadDelayAfterTheLaunchLeavesTimerAndStatusAsTheyWere) {
  window_.fields[SettingField::kDelay] = "";
  EXPECT_EQ(FailureOf([&] { supervisor_.StartSupervision(); }), "'' is not a valid integer value");
  EXPECT_EQ(Launches(), 1u);  // the server was launched before the delay was read
  EXPECT_FALSE(supervisor_.CheckTimer().Enabled());
  EXPECT_EQ(supervisor_.CheckTimer().Interval(), 1000u);
  EXPECT_TRUE(window_.statuses.empty());
  EXPECT_EQ(window_.hide_count, 0);

  window_.fields[SettingField::kDelay] = "45";
  supervisor_.StartSupervision();
  window_.fields[SettingField::kDelay] = " 12 ";
  EXPECT_EQ(FailureOf([&] { supervisor_.StartSupervision(); }),
            "' 12 ' is not a valid integer value");
  EXPECT_EQ(Launches(), 3u);
  EXPECT_TRUE(supervisor_.CheckTimer().Enabled());
  EXPECT_EQ(supervisor_.CheckTimer().Interval(), 45000u);
  EXPECT_EQ(window_.Status(), "Server started");
  EXPECT_EQ(window_.hide_count, 1);
}

TEST_F(SupervisorTest, CheckBoxWritesAutoStartAndNothingElse) {
  window_.SetAutoStartChecked(true);
  EXPECT_NE(ReadFileBytes(settings_path_).find("AutoStart=1"), std::string::npos);
  window_.SetAutoStartChecked(false);
  EXPECT_NE(ReadFileBytes(settings_path_).find("AutoStart=0"), std::string::npos);
  EXPECT_EQ(Launches(), 0u);
  EXPECT_TRUE(window_.statuses.empty());
}

class ReadOnlySupervisorTest : public SupervisorTest {
 protected:
  ReadOnlySupervisorTest() : SupervisorTest("Z:\\proc\\KTN-Serv.ini") {}
};

TEST_F(ReadOnlySupervisorTest, EveryWriteFailsBeforeAnythingIsLaunched) {
  const std::string expected = "Unable to write to Z:\\proc\\KTN-Serv.ini";
  EXPECT_EQ(FailureOf([&] { supervisor_.LoadAtStart(); }), expected);
  EXPECT_FALSE(window_.AutoStartChecked());
  EXPECT_EQ(FailureOf([&] { supervisor_.StartSupervision(); }), expected);
  EXPECT_EQ(Launches(), 0u);
  EXPECT_FALSE(supervisor_.CheckTimer().Enabled());
  EXPECT_EQ(window_.statuses, std::vector<std::string>{"Creating INI file..."});
  EXPECT_EQ(window_.hide_count, 0);
}

}  // namespace
}  // namespace kestrune
