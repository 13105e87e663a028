// The stand-in query tool against the stand-in server: the verdict in the result file follows what
// the server does, and the tool is started and behaves as the supervisor expects of qstat.exe.
#include "base/win32/prelude.h"

#include <winsock2.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "test_support.h"

namespace kestrune {
namespace {

using test_support::InstallStandinServer;
using test_support::InstallStandinTool;
using test_support::IsRunning;
using test_support::PumpUntil;
using test_support::ReadFileBytes;
using test_support::ReadServerRecords;
using test_support::ReadToolRecords;
using test_support::TempDir;
using test_support::WriteFileBytes;

constexpr char kHeader[] = "ADDRESS           PLAYERS      MAP   RESPONSE TIME    NAME";
constexpr DWORD kToolBoundMs = 20000;

std::string QueryParameters(int port) {
  return " -of query.txt -P -a2s 127.0.0.1:" + std::to_string(port);
}

// Starts qstat.exe from `dir` the way the supervisor does; no handle when the start failed.
UniqueHandle StartTool(const TempDir& dir, const std::string& parameters) {
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpFile = "qstat.exe";
  info.lpParameters = parameters.c_str();
  info.lpDirectory = dir.Path().c_str();
  info.nShow = SW_HIDE;
  if (!ShellExecuteExA(&info)) return {};
  return UniqueHandle(info.hProcess);
}

// Runs the tool to its end and gives its exit code (or a failure when it did not start or end).
DWORD RunTool(const TempDir& dir, const std::string& parameters) {
  UniqueHandle tool = StartTool(dir, parameters);
  if (!tool) {
    ADD_FAILURE() << "qstat.exe did not start, error " << GetLastError();
    return DWORD(-1);
  }
  if (WaitForSingleObject(tool.get(), kToolBoundMs) != WAIT_OBJECT_0) {
    TerminateProcess(tool.get(), 1);
    WaitForSingleObject(tool.get(), 5000);
    ADD_FAILURE() << "qstat.exe did not end";
    return DWORD(-1);
  }
  DWORD code = 0;
  GetExitCodeProcess(tool.get(), &code);
  return code;
}

// The lines of `bytes` split at LF, each without its CR.
std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// A function of Winsock, loaded by name: this test program is not linked with it.
template <typename Function>
Function* Winsock(const char* name) {
  static const HMODULE winsock = LoadLibraryA("ws2_32.dll");
  return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(winsock, name)));
}

// Whether UDP port `port` of 127.0.0.1 is taken: a bind to it is refused as in use.
bool PortTaken(int port) {
  WSADATA wsa;
  if (Winsock<decltype(WSAStartup)>("WSAStartup")(MAKEWORD(2, 2), &wsa) != 0) return false;
  const SOCKET probe = Winsock<decltype(socket)>("socket")(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = u_short(((port & 0xFF) << 8) | (port >> 8));  // network byte order
  const unsigned char loopback[4] = {127, 0, 0, 1};
  std::memcpy(&address.sin_addr, loopback, sizeof loopback);
  const bool taken = Winsock<decltype(bind)>("bind")(probe, reinterpret_cast<sockaddr*>(&address),
                                                     sizeof address) != 0 &&
                     Winsock<decltype(WSAGetLastError)>("WSAGetLastError")() == WSAEADDRINUSE;
  Winsock<decltype(closesocket)>("closesocket")(probe);
  Winsock<decltype(WSACleanup)>("WSACleanup")();
  return taken;
}

// A stand-in server running in a folder of its own, where its mute file goes.
struct Server {
  DWORD pid = 0;
  std::string mute_file;
};

// A folder laid out like the supervisor's, with qstat.exe (the stand-in tool) in it, and the
// stand-in servers it asks.
class StandinToolsTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallStandinTool(dir_); }

  void TearDown() override {
    for (const auto& server_dir : server_dirs_) test_support::EndStandins(*server_dir);
    test_support::EndStandins(dir_);
  }

  // Starts the stand-in server on `port` and returns once its port is taken. Under Wine the first
  // GUI program of a session can be idle for input before it has bound its socket.
  Server StartServer(int port) {
    const TempDir& server_dir = *server_dirs_.emplace_back(std::make_unique<TempDir>());
    const std::string path = InstallStandinServer(server_dir);
    std::string command_line = "srcds.exe -port " + std::to_string(port);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(path.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        server_dir.Path().c_str(), &startup, &process)) {
      ADD_FAILURE() << "the stand-in server did not start, error " << GetLastError();
      return {};
    }
    UniqueHandle process_handle(process.hProcess);
    UniqueHandle thread_handle(process.hThread);
    EXPECT_TRUE(PumpUntil([port] { return PortTaken(port); }, kToolBoundMs)) << port;
    return {process.dwProcessId, server_dir.File("standin-server.mute")};
  }

  void SetControl(const std::string& directives) {
    WriteFileBytes(dir_.File("standin-qstat.ctl"), directives);
  }

  std::string Result() const { return ReadFileBytes(dir_.File("query.txt")); }

  // Runs the tool against `port`, expects it to end with 0 and gives line 2 of its result.
  std::string QueryLine(int port) {
    EXPECT_EQ(RunTool(dir_, QueryParameters(port)), 0u);
    const std::vector<std::string> lines = Lines(Result());
    EXPECT_EQ(lines.size(), 2u) << Result();
    EXPECT_EQ(lines.empty() ? "" : lines[0], kHeader);
    return lines.size() < 2 ? "" : lines[1];
  }

  TempDir dir_;
  std::vector<std::unique_ptr<TempDir>> server_dirs_;
};

TEST_F(StandinToolsTest, AnsweringServerGivesItsNameOnLineTwoInCrLfLines) {
  StartServer(27301);
  WriteFileBytes(dir_.File("query.txt"),
                 "an earlier result that is longer than the new one\r\n"
                 "with more lines\r\nthan it\r\n");
  const std::string line = QueryLine(27301);
  EXPECT_EQ(line.rfind("127.0.0.1:27301 ", 0), 0u) << line;
  EXPECT_TRUE(Contains(line, " 0/16 ")) << line;
  EXPECT_TRUE(Contains(line, " de_dust2 ")) << line;
  EXPECT_TRUE(Contains(line, " cstrike Stand-in Server 27301")) << line;
  EXPECT_FALSE(Contains(line, "no response")) << line;
  EXPECT_EQ(Result(), std::string(kHeader) + "\r\n" + line + "\r\n");
}

TEST_F(StandinToolsTest, ServerThatFallsSilentGivesANoAnswerLine) {
  struct Case {
    const char* name;
    int port;
    std::function<void(const Server& server)> silence;
    std::vector<std::string> no_answer_lines;
  };
  const Case cases[] = {
      {"muted",
       27302,
       [](const Server& server) { WriteFileBytes(server.mute_file, ""); },
       {"127.0.0.1:27302  no response"}},
      // A closed port may be heard as the host's refusal or not at all.
      {"killed",
       27303,
       [](const Server& server) { test_support::TerminateAll({server.pid}); },
       {"127.0.0.1:27303  no response", "127.0.0.1:27303        DOWN"}},
  };
  SetControl("timeout-ms 500\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Server server = StartServer(c.port);
    EXPECT_TRUE(Contains(QueryLine(c.port), "Stand-in Server " + std::to_string(c.port)));
    c.silence(server);
    const std::string line = QueryLine(c.port);
    EXPECT_NE(std::find(c.no_answer_lines.begin(), c.no_answer_lines.end(), line),
              c.no_answer_lines.end())
        << line;
  }
}

TEST_F(StandinToolsTest, MutedServerIsHeardAgainOnceItAnswersAgain) {
  SetControl("timeout-ms 500\n");
  const std::string mute = StartServer(27304).mute_file;
  WriteFileBytes(mute, "");
  EXPECT_EQ(QueryLine(27304), "127.0.0.1:27304  no response");
  ASSERT_TRUE(DeleteFileA(mute.c_str()));
  EXPECT_TRUE(Contains(QueryLine(27304), "Stand-in Server 27304"));
}

TEST_F(StandinToolsTest, ControlDirectivesShapeTheResultAndTheExitCode) {
  const std::string earlier = "earlier result\r\n";
  const std::string crlf = std::string(kHeader) + "\r\nSERVER LINE\r\n";
  struct Case {
    const char* directives;
    DWORD exit_code;
    std::string expected_file;  // with the answering line as SERVER LINE
  };
  const Case cases[] = {
      {"lf-only\n", 0, std::string(kHeader) + "\nSERVER LINE\n"},
      {"write-nothing\n", 0, earlier},
      {"exit-code 3\n", 3, crlf},
      {"  timeout-ms 1500 \r\n\r\nexit-code 0\r\n", 0, crlf},
  };
  StartServer(27305);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.directives);
    SetControl(c.directives);
    WriteFileBytes(dir_.File("query.txt"), earlier);
    EXPECT_EQ(RunTool(dir_, QueryParameters(27305)), c.exit_code);
    std::string result = Result();
    // The answering line carries a response time: it is checked by what it must hold.
    const std::vector<std::string> lines = Lines(result);
    if (lines.size() == 2 && lines[0] == kHeader) {
      EXPECT_TRUE(Contains(lines[1], "Stand-in Server 27305")) << lines[1];
      result.replace(result.find(lines[1]), lines[1].size(), "SERVER LINE");
    }
    EXPECT_EQ(result, c.expected_file);
  }
}

TEST_F(StandinToolsTest, RecordsEachStartAndTruncatesBeforeItsLongRun) {
  struct Case {
    const char* directives;
    std::function<bool(const std::string& result)> written_so_far;
  };
  const Case cases[] = {
      // Truncated at start, then nothing more while it sleeps.
      {"sleep-ms 600000\n", [](const std::string& result) { return result.empty(); }},
      {"never-end\n",
       [](const std::string& result) { return Contains(result, "Stand-in Server 27306"); }},
  };
  StartServer(27306);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.directives);
    SetControl(c.directives);
    WriteFileBytes(dir_.File("query.txt"), "earlier result\r\n");
    const std::size_t before = ReadToolRecords(dir_).size();
    UniqueHandle tool = StartTool(dir_, QueryParameters(27306));
    ASSERT_TRUE(tool);
    EXPECT_TRUE(PumpUntil([&] { return c.written_so_far(Result()); }, kToolBoundMs)) << Result();
    EXPECT_TRUE(IsRunning(tool.get()));

    const auto records = ReadToolRecords(dir_);
    ASSERT_EQ(records.size(), before + 1);
    EXPECT_EQ(records.back().pid, GetProcessId(tool.get()));
    EXPECT_EQ(records.back().working_directory + "\\", dir_.Path());
    EXPECT_TRUE(Contains(records.back().command_line, QueryParameters(27306)))
        << records.back().command_line;
    TerminateProcess(tool.get(), 1);
    WaitForSingleObject(tool.get(), 5000);
  }
}

TEST_F(StandinToolsTest, UnknownHostGivesAnErrorLine) {
  EXPECT_EQ(RunTool(dir_, " -of query.txt -P -a2s nohost.invalid:27015"), 0u);
  const std::vector<std::string> lines = Lines(Result());
  ASSERT_EQ(lines.size(), 2u) << Result();
  EXPECT_EQ(lines[1], "nohost.invalid:27015  ERROR <host not found>");
}

TEST_F(StandinToolsTest, BadArgumentsOrControlEndWithOneAndLeaveTheFileAlone) {
  struct Case {
    const char* parameters;
    const char* directives;
  };
  const Case cases[] = {
      {" -of query.txt -P", ""},
      {" -P -a2s 127.0.0.1:27307", ""},
      {" -of query.txt -P -a2s", ""},
      {" -of query.txt -P -a2s 127.0.0.1", ""},
      {" -of query.txt -P -a2s :27307", ""},
      {" -of query.txt -P -a2s 127.0.0.1:99999", ""},
      {" -of query.txt -P -a2s 127.0.0.1:27x", ""},
      {" -of query.txt -P -a2s 127.0.0.1:27307 -x", ""},
      {" -of query.txt -P -a2s 127.0.0.1:27307", "frobnicate\n"},
      {" -of query.txt -P -a2s 127.0.0.1:27307", "sleep-ms soon\n"},
      {" -of query.txt -P -a2s 127.0.0.1:27307", "never-end now\n"},
      {" -of query.txt -P -a2s 127.0.0.1:27307", "timeout-ms -5\n"},
  };
  const std::string earlier = "earlier result\r\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.parameters) + " / " + c.directives);
    SetControl(c.directives);
    WriteFileBytes(dir_.File("query.txt"), earlier);
    EXPECT_EQ(RunTool(dir_, c.parameters), 1u);
    EXPECT_EQ(Result(), earlier);
  }
}

}  // namespace
}  // namespace kestrune
