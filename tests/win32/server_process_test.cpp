#include "supervision/server_process.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace kestrune {
namespace {

using testing::InstallStandinServer;
using testing::IsRunning;
using testing::OpenForWait;
using testing::ReadServerRecords;
using testing::TempDir;

class ServerProcessTest : public ::testing::Test {
 protected:
  void TearDown() override { testing::EndStandins(dir_); }

  std::string CurrentDirectory() {
    char buffer[MAX_PATH * 4];
    return std::string(buffer, GetCurrentDirectoryA(sizeof buffer, buffer));
  }

  TempDir dir_;
  ServerProcess server_;
};

TEST_F(ServerProcessTest, CommandLineIsSrcdsFollowedByTheParametersWhateverThePath) {
  struct Case {
    const char* executable;
    const char* params;
  };
  const Case cases[] = {
      {"srcds.exe", "-game cstrike -port 27115 +map de_dust2"},
      {"hlds.exe", "-game valve +maxplayers 16"},
      {"other.exe", ""},
      {"my server.exe", "\"quoted arg\"  two  blanks "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.executable);
    const std::size_t before = ReadServerRecords(dir_).size();
    server_.LaunchServer(InstallStandinServer(dir_, c.executable), c.params);
    const auto records = ReadServerRecords(dir_);
    ASSERT_EQ(records.size(), before + 1);
    EXPECT_EQ(records.back().command_line, std::string("srcds.exe ") + c.params);
    EXPECT_EQ(records.back().working_directory, CurrentDirectory());
    EXPECT_EQ(records.back().pid, server_.ServerProcessInfo().dwProcessId);
    EXPECT_EQ(server_.ServerProcessInfo().hProcess, nullptr);
    EXPECT_EQ(server_.ServerProcessInfo().hThread, nullptr);
  }
}

TEST_F(ServerProcessTest, LaunchReturnsOnceTheServerIsIdleForInput) {
  server_.LaunchServer(InstallStandinServer(dir_), "-idle-delay 1500");
  // The stand-in creates its window only after the delay, just before its message loop.
  DWORD owner = 0;
  const HWND window = FindWindowA("KestruneStandInServer", nullptr);
  ASSERT_NE(window, nullptr);
  GetWindowThreadProcessId(window, &owner);
  EXPECT_EQ(owner, server_.ServerProcessInfo().dwProcessId);
}

TEST_F(ServerProcessTest, KillEndsOnlyTheLastLaunchedServer) {
  const std::string path = InstallStandinServer(dir_);
  server_.LaunchServer(path, "-port 27101");
  const auto first = OpenForWait(server_.ServerProcessInfo().dwProcessId);
  server_.LaunchServer(path, "-port 27102");
  const auto second = OpenForWait(server_.ServerProcessInfo().dwProcessId);
  ASSERT_TRUE(first && second);

  server_.KillServer();
  EXPECT_FALSE(IsRunning(second.get()));
  DWORD exit_code = 0;
  GetExitCodeProcess(second.get(), &exit_code);
  EXPECT_EQ(exit_code, 0xFFFFFFFFu);
  EXPECT_TRUE(IsRunning(first.get()));

  server_.KillServer();  // the second kill finds the server ended and does nothing
  EXPECT_TRUE(IsRunning(first.get()));
}

TEST_F(ServerProcessTest, KillBeforeAnyLaunchAndAfterARefusedLaunchTouchesNothing) {
  server_.KillServer();
  EXPECT_EQ(server_.ServerProcessInfo().dwProcessId, 0u);

  server_.LaunchServer(InstallStandinServer(dir_), "");
  const DWORD pid = server_.ServerProcessInfo().dwProcessId;
  server_.LaunchServer(dir_.File("missing.exe"), "");
  server_.LaunchServer("", "");
  EXPECT_EQ(server_.ServerProcessInfo().dwProcessId, pid);

  // A refused launch keeps the earlier server as the one Stop ends.
  const auto process = OpenForWait(pid);
  server_.KillServer();
  EXPECT_FALSE(IsRunning(process.get()));
}

TEST_F(ServerProcessTest, AServerThatEndedByItselfIsNeverKilledAgain) {
  const std::string path = InstallStandinServer(dir_);
  server_.LaunchServer(path, "-exit-after 0");
  const DWORD pid = server_.ServerProcessInfo().dwProcessId;
  const auto ended = OpenForWait(pid);
  ASSERT_TRUE(ended);
  ASSERT_EQ(WaitForSingleObject(ended.get(), 10000), WAIT_OBJECT_0);

  // Churn identifiers so that the platform starts handing out freed ones, then start processes
  // that would be candidates for the old identifier.
  for (int i = 0; i < 1500; ++i) {
    UniqueHandle thread(CreateThread(
        nullptr, 0, [](void*) -> DWORD { return 0; }, nullptr, 0, nullptr));
    WaitForSingleObject(thread.get(), INFINITE);
  }
  std::vector<UniqueHandle> others;
  for (int i = 0; i < 48; ++i) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string command_line = "srcds.exe -port 0";
    ASSERT_TRUE(CreateProcessA(path.c_str(), command_line.data(), nullptr, nullptr, FALSE,
                               CREATE_SUSPENDED, nullptr, nullptr, &startup, &info));
    CloseHandle(info.hThread);
    EXPECT_NE(info.dwProcessId, pid) << "the identifier of a kept server was handed out again";
    others.emplace_back(info.hProcess);
  }

  server_.KillServer();

  DWORD exit_code = 1;
  GetExitCodeProcess(ended.get(), &exit_code);
  EXPECT_EQ(exit_code, 0u);
  for (const auto& other : others) {
    EXPECT_TRUE(IsRunning(other.get()));
    TerminateProcess(other.get(), 1);
  }
}

}  // namespace
}  // namespace kestrune
