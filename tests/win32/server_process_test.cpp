#include "supervision/server_process.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace kestrune {
namespace {

using test_support::InstallStandinServer;
using test_support::IsRunning;
using test_support::OpenForWait;
using test_support::ReadServerRecords;
using test_support::TempDir;

class ServerProcessTest : public ::testing::Test {
 protected:
  void TearDown() override { test_support::EndStandins(dir_); }

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
  EXPECT_EQ(exit_code, kKilledServerExitCode);
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

// The platform's process calls, recording the process each launch gave and each kill named.
class RecordingCalls : public ProcessCalls {
 public:
  bool CreateProcess(const std::string& application, std::string& command_line,
                     STARTUPINFOA& startup, PROCESS_INFORMATION& launched) override {
    const bool created = ProcessCalls::CreateProcess(application, command_line, startup, launched);
    if (created) launched_processes.push_back(launched.hProcess);
    return created;
  }
  bool TerminateProcess(HANDLE process, UINT exit_code) override {
    terminated.push_back(process);
    return ProcessCalls::TerminateProcess(process, exit_code);
  }
  std::vector<HANDLE> launched_processes;
  std::vector<HANDLE> terminated;
};

TEST_F(ServerProcessTest, TheKillNamesTheServerByTheHandleOfItsLaunchOnly) {
  // An identifier may belong to another process by the time of the kill; only the handle kept
  // from the launch is sure to name the server. A kill that reopened the identifier would hand
  // TerminateProcess a handle of its own.
  RecordingCalls calls;
  ServerProcess server(calls);
  const std::string path = InstallStandinServer(dir_);
  server.LaunchServer(path, "-port 27103");
  const auto process = OpenForWait(server.ServerProcessInfo().dwProcessId);
  ASSERT_EQ(calls.launched_processes.size(), 1u);

  server.KillServer();
  EXPECT_EQ(calls.terminated, calls.launched_processes);
  EXPECT_FALSE(IsRunning(process.get()));

  // A server that has ended by itself is not killed again, whatever now holds its identifier.
  server.LaunchServer(path, "-exit-after 0");
  const auto ended = OpenForWait(server.ServerProcessInfo().dwProcessId);
  ASSERT_EQ(WaitForSingleObject(ended.get(), 10000), WAIT_OBJECT_0);
  server.KillServer();
  EXPECT_EQ(calls.terminated.size(), 1u);
  DWORD exit_code = 1;
  GetExitCodeProcess(ended.get(), &exit_code);
  EXPECT_EQ(exit_code, 0u);
}

}  // namespace
}  // namespace kestrune
