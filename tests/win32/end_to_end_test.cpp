// Drives kestrune.exe itself, started from a temporary folder with its settings file beside it.
#include "base/win32/prelude.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "base/win32/ansi_text.h"
#include "base/win32/unique_handle.h"
#include "app/main_window_design.h"
#include "test_support.h"

namespace kestrune {
namespace {

using test_support::BoxWatcher;
using test_support::InstallStandinServer;
using test_support::InstallStandinTool;
using test_support::IsRunning;
using test_support::OpenForWait;
using test_support::PumpUntil;
using test_support::ReadServerRecords;
using test_support::ReadToolRecords;
using test_support::TempDir;
using test_support::WriteFileBytes;

struct WindowSearch {
  DWORD pid;
  const wchar_t* caption;
  HWND found = nullptr;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t caption[128] = L"";
  GetWindowTextW(window, caption, 128);
  if (pid == search.pid && lstrcmpW(caption, search.caption) == 0) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

class Kestrune {
 public:
  // Starts kestrune.exe from `dir` (its working directory too), with `settings` as its file.
  Kestrune(const TempDir& dir, const std::string& settings) {
    const std::string exe = dir.File("kestrune.exe");
    CopyFileA((test_support::BinDirectory() + "kestrune.exe").c_str(), exe.c_str(), FALSE);
    if (!settings.empty()) WriteFileBytes(dir.File("KTN-Serv.ini"), settings);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string command_line = "kestrune.exe";
    if (CreateProcessA(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       dir.Path().c_str(), &startup, &info)) {
      CloseHandle(info.hThread);
      process_.reset(info.hProcess);
      pid_ = info.dwProcessId;
    }
  }
  ~Kestrune() {
    if (process_ && IsRunning(process_.get())) {
      TerminateProcess(process_.get(), 1);
      WaitForSingleObject(process_.get(), 5000);
    }
  }

  DWORD Pid() const { return pid_; }
  HANDLE Process() const { return process_.get(); }

  HWND MainWindow() const {
    WindowSearch search{pid_, L"Kestrune v0.1 Pre-Beta Build"};
    EnumWindows(&FindWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  // The status bar's simple text, read through a buffer in the supervisor's own memory (the
  // status bar's messages carry no marshalling across processes).
  std::wstring Status() const {
    const HWND bar = FindWindowExW(MainWindow(), nullptr, L"msctls_statusbar32", nullptr);
    if (!bar) return L"(no status bar)";
    UniqueHandle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid_));
    constexpr SIZE_T kChars = 512;
    void* remote = VirtualAllocEx(process.get(), nullptr, kChars * sizeof(wchar_t), MEM_COMMIT,
                                  PAGE_READWRITE);
    if (!remote) return L"(no buffer)";
    DWORD_PTR result = 0;
    wchar_t text[kChars] = L"";
    if (SendMessageTimeoutW(bar, SB_GETTEXTW, 0, LPARAM(remote), SMTO_BLOCK, 2000, &result)) {
      ReadProcessMemory(process.get(), remote, text, sizeof text - sizeof(wchar_t), nullptr);
    }
    VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
    return text;
  }

  bool WaitForStatus(const std::wstring& status, DWORD timeout_ms = 20000) const {
    return PumpUntil([&] { return Status() == status; }, timeout_ms);
  }

  // The control of a design row, found where the design puts it.
  HWND Control(Form1Control name) const {
    const ControlDesign& row = DesignOf(name);
    POINT inside{row.left + row.width / 2, row.top + row.height / 2};
    if (name == Form1Control::sStatusBar1) {
      return FindWindowExW(MainWindow(), nullptr, L"msctls_statusbar32", nullptr);
    }
    return ChildWindowFromPointEx(MainWindow(), inside, CWP_SKIPINVISIBLE);
  }

  void Type(Form1Control name, const std::string& text) const {
    const std::wstring wide = AnsiToWide(text);
    SendMessageW(Control(name), WM_SETTEXT, 0, LPARAM(wide.c_str()));
  }

  // Closes the main window and returns the exit code, or -1 when it did not end.
  long CloseAndWait() const { return EndAndWait(WM_CLOSE, 0); }

  // Sends `message` to the main window and waits for the process to end.
  long EndAndWait(UINT message, WPARAM wparam) const {
    PostMessageW(MainWindow(), message, wparam, 0);
    return WaitForEnd();
  }

  long WaitForEnd() const {
    if (WaitForSingleObject(process_.get(), 20000) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return long(code);
  }

 private:
  UniqueHandle process_;
  DWORD pid_ = 0;
};

class EndToEndTest : public ::testing::Test {
 protected:
  void TearDown() override { test_support::EndStandins(dir_); }

  std::string Settings(const std::string& delay, int port) {
    const std::string p = std::to_string(port);
    return "[Main]\r\nServerPath=" + InstallStandinServer(dir_) +
           "\r\nQstatsPath=" + dir_.File("qstat.exe") + "\r\nAdditionalParams=-port " + p +
           "\r\nQueryIP=127.0.0.1\r\nQueryPort=" + p + "\r\nDelay=" + delay +
           "\r\n[Settings]\r\nAutoStart=1\r\n";
  }

  TempDir dir_;
};

TEST_F(EndToEndTest, AutoStartWithABadDelayReportsBeforeTheWindowShows) {
  InstallStandinTool(dir_);
  bool window_visible_during_box = true;
  // The box waits for OK, so the watcher may start after the process.
  const auto app = std::make_unique<Kestrune>(dir_, Settings("abc", 27431));
  Kestrune* running = app.get();
  BoxWatcher watcher(running->Pid(), [&] {
    const HWND main = running->MainWindow();
    window_visible_during_box = main && IsWindowVisible(main);
  });
  const auto seen = watcher.Seen(1, 30000);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, L"'abc' is not a valid integer value.");
  EXPECT_EQ(seen[0].caption, L"Kestrune v0.1 Pre-Beta");
  EXPECT_FALSE(window_visible_during_box);
  EXPECT_TRUE(PumpUntil(
      [&] {
        const HWND main = running->MainWindow();
        return main && IsWindowVisible(main);
      },
      10000));
  // The server was launched before the delay was read; the status was left as creation set it.
  EXPECT_EQ(ReadServerRecords(dir_).size(), 1u);
  EXPECT_EQ(running->Status(), L"Creating INI file...");
  EXPECT_EQ(running->CloseAndWait(), 0);

  // The restart history beside the executable tells the same story.
  const std::string history = test_support::ReadFileBytes(dir_.File("KTN-Serv.log"));
  std::size_t at = 0;
  for (const char* line :
       {"  Kestrune opened\r\n",
        "  Supervision started by auto-start: ", "  Launched the server: process ",
        "  Failure box: 'abc' is not a valid integer value.\r\n", "  Kestrune closed\r\n"}) {
    at = history.find(line, at);
    EXPECT_NE(at, std::string::npos) << line << " in\n" << history;
  }
}

TEST_F(EndToEndTest, SupervisesTheServerAndRestartsItWhenItStopsAnswering) {
  InstallStandinTool(dir_, "timeout-ms 300\n");
  Kestrune app(dir_, Settings("1", 27432));
  ASSERT_TRUE(app.WaitForStatus(L"Query status: Server Enabled"));
  ASSERT_EQ(ReadServerRecords(dir_).size(), 1u);
  const auto first = OpenForWait(ReadServerRecords(dir_)[0].pid);

  WriteFileBytes(dir_.File("standin-server.mute"), "");
  ASSERT_TRUE(PumpUntil([&] { return ReadServerRecords(dir_).size() >= 2; }, 20000));
  EXPECT_FALSE(IsRunning(first.get()));
  DeleteFileA(dir_.File("standin-server.mute").c_str());
  EXPECT_TRUE(app.WaitForStatus(L"Query status: Server Enabled"));

  const auto last = OpenForWait(ReadServerRecords(dir_).back().pid);
  EXPECT_EQ(app.CloseAndWait(), 0);
  EXPECT_TRUE(IsRunning(last.get()));  // the server outlives the supervisor
}

TEST_F(EndToEndTest, ClosingWhileACheckWaitsEndsTheProcessAndLeavesTheTool) {
  InstallStandinTool(dir_, "sleep-ms 120000\n");
  Kestrune app(dir_, Settings("1", 27433));
  ASSERT_TRUE(PumpUntil([&] { return !ReadToolRecords(dir_).empty(); }, 20000));
  ASSERT_TRUE(app.WaitForStatus(L"Quring server"));
  const auto tool = OpenForWait(ReadToolRecords(dir_)[0].pid);

  EXPECT_EQ(app.CloseAndWait(), 0);
  EXPECT_TRUE(IsRunning(tool.get()));
  EXPECT_EQ(ReadServerRecords(dir_).size(), 1u);  // nothing relaunched on the way out
}

TEST_F(EndToEndTest, TheOperatorFillsTheFieldsStartsStopsAndLeaves) {
  InstallStandinTool(dir_, "timeout-ms 300\n");
  Kestrune app(dir_, "");
  ASSERT_TRUE(
      PumpUntil([&] { return app.MainWindow() && IsWindowVisible(app.MainWindow()); }, 20000));
  EXPECT_EQ(app.Status(), L"Creating INI file...");
  const HWND main = app.MainWindow();
  const HWND taskbar_entry = GetWindow(main, GW_OWNER);
  ASSERT_NE(taskbar_entry, nullptr);
  EXPECT_TRUE(IsWindowVisible(taskbar_entry));

  const std::string server = InstallStandinServer(dir_);
  app.Type(Form1Control::sFilenameEdit1, server);
  app.Type(Form1Control::sEdit1, "-port 27441 +map de_dust2");
  app.Type(Form1Control::sFilenameEdit2, dir_.File("qstat.exe"));
  app.Type(Form1Control::sEdit2, "127.0.0.1");
  app.Type(Form1Control::sEdit3, "27441");
  app.Type(Form1Control::sSpinEdit1, "1");

  // Start has the focus from the first activation, so Space presses it.
  GUITHREADINFO focus{};
  focus.cbSize = sizeof focus;
  ASSERT_TRUE(PumpUntil(
      [&] {
        return GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &focus) &&
               focus.hwndFocus == app.Control(Form1Control::Button1);
      },
      10000));
  PostMessageW(focus.hwndFocus, WM_KEYDOWN, VK_SPACE, 0x00390001);
  PostMessageW(focus.hwndFocus, WM_KEYUP, VK_SPACE, 0xC0390001);

  // The window goes first, then its taskbar button.
  ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(main); }, 20000));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(taskbar_entry); }, 5000));
  const auto records = ReadServerRecords(dir_);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].command_line, "srcds.exe -port 27441 +map de_dust2");
  const std::string settings = test_support::ReadFileBytes(dir_.File("KTN-Serv.ini"));
  for (const std::string& line :
       {"ServerPath=" + server, std::string("QueryPort=27441"),
        std::string("AdditionalParams=-port 27441 +map de_dust2"), std::string("Delay=1")}) {
    EXPECT_NE(settings.find(line + "\r\n"), std::string::npos) << line;
  }
  EXPECT_TRUE(app.WaitForStatus(L"Query status: Server Enabled"));

  // A server that stops answering is killed and relaunched at the next check.
  const auto first = OpenForWait(records[0].pid);
  WriteFileBytes(dir_.File("standin-server.mute"), "");
  ASSERT_TRUE(PumpUntil([&] { return ReadServerRecords(dir_).size() >= 2; }, 20000));
  EXPECT_FALSE(IsRunning(first.get()));
  DeleteFileA(dir_.File("standin-server.mute").c_str());

  // Stop kills it.
  const auto second = OpenForWait(ReadServerRecords(dir_).back().pid);
  PostMessageW(app.Control(Form1Control::Button2), BM_CLICK, 0, 0);
  EXPECT_TRUE(app.WaitForStatus(L"Server stoped"));
  EXPECT_FALSE(IsRunning(second.get()));

  // Started again, the server outlives the menu command that ends the supervisor.
  PostMessageW(app.Control(Form1Control::Button1), BM_CLICK, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return ReadServerRecords(dir_).size() >= 3; }, 20000));
  const auto third = OpenForWait(ReadServerRecords(dir_).back().pid);
  EXPECT_EQ(app.EndAndWait(WM_COMMAND, kMenuN1Id), 0);
  EXPECT_TRUE(IsRunning(third.get()));
}

// The shell's notification of a left press and release on the first icon of the process.
void LeftClickTrayIcon(const Kestrune& app) {
  const HWND tray_window = FindWindowW(L"KestruneTrayIconWindow", nullptr);
  ASSERT_NE(tray_window, nullptr);
  DWORD owner = 0;
  GetWindowThreadProcessId(tray_window, &owner);
  ASSERT_EQ(owner, app.Pid());
  constexpr UINT kTrayCallback = 0x0800;
  PostMessageW(tray_window, kTrayCallback, 1, WM_LBUTTONDOWN);
  PostMessageW(tray_window, kTrayCallback, 1, WM_LBUTTONUP);
}

TEST_F(EndToEndTest, StartHidesToTheTrayAndALeftClickOnTheIconBringsTheWindowBack) {
  InstallStandinTool(dir_);
  Kestrune app(dir_, "");
  ASSERT_TRUE(
      PumpUntil([&] { return app.MainWindow() && IsWindowVisible(app.MainWindow()); }, 20000));
  const HWND main = app.MainWindow();
  const HWND taskbar_entry = GetWindow(main, GW_OWNER);
  app.Type(Form1Control::sFilenameEdit1, InstallStandinServer(dir_));
  app.Type(Form1Control::sEdit1, "-port 27442");
  app.Type(Form1Control::sSpinEdit1, "600");
  PostMessageW(app.Control(Form1Control::Button1), BM_CLICK, 0, 0);
  // The window goes first, then its taskbar button.
  ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(main); }, 20000));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(taskbar_entry); }, 5000));

  ASSERT_NO_FATAL_FAILURE(LeftClickTrayIcon(app));

  EXPECT_TRUE(
      PumpUntil([&] { return IsWindowVisible(main) && IsWindowVisible(taskbar_entry); }, 10000));
  EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == main; }, 5000));
  EXPECT_EQ(app.Status(), L"Server started");
  EXPECT_EQ(app.CloseAndWait(), 0);
}

// The main window as the X desktop sees it.
class XWindow {
 public:
  XWindow() {
    const auto found =
        test_support::RunOnX("xdotool search --name 'Kestrune v0.1 Pre-Beta Build' | head -1");
    if (found) id_ = found->substr(0, found->find_first_of("\r\n"));
  }
  bool Found() const { return !id_.empty(); }

  // "WIDTH HEIGHT" of the X window.
  std::string Size() const {
    return Run("xwininfo -id " + id_ + " | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w, h}'");
  }
  std::string Run(const std::string& command) const {
    std::string output = test_support::RunOnX(command).value_or("(did not finish)");
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
    return output;
  }
  const std::string& Id() const { return id_; }
  // "Normal", "Iconic" or "Withdrawn", as the desktop set it.
  std::string State() const {
    return Run("xprop -id " + id_ + " WM_STATE | awk '/window state:/{print $3}'");
  }

 private:
  std::string id_;
};

TEST_F(EndToEndTest, TheDesktopCanNeitherResizeNorMaximiseTheWindow) {
  Kestrune app(dir_, "");
  ASSERT_TRUE(
      PumpUntil([&] { return app.MainWindow() && IsWindowVisible(app.MainWindow()); }, 20000));
  const XWindow window;
  ASSERT_TRUE(window.Found());
  const std::string size = window.Size();
  // The frame offers no way to resize or maximise: the size hints pin it, the actions leave it out.
  const std::string hints = window.Run("xprop -id " + window.Id() + " WM_NORMAL_HINTS");
  const std::string pinned =
      size.substr(0, size.find(' ')) + " by " + size.substr(size.find(' ') + 1);
  EXPECT_NE(hints.find("minimum size: " + pinned), std::string::npos) << hints;
  EXPECT_NE(hints.find("maximum size: " + pinned), std::string::npos) << hints;
  const std::string actions = window.Run("xprop -id " + window.Id() + " _NET_WM_ALLOWED_ACTIONS");
  EXPECT_EQ(actions.find("MAXIMIZE"), std::string::npos) << actions;
  EXPECT_EQ(actions.find("RESIZE"), std::string::npos) << actions;
  EXPECT_NE(actions.find("MINIMIZE"), std::string::npos) << actions;

  // The desktop asked to make it larger and smaller: it stays as it is, on both sides.
  for (const char* asked : {"600 500", "200 150"}) {
    window.Run("xdotool windowsize " + window.Id() + " " + asked);
    SendMessageTimeoutW(app.MainWindow(), WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr);
    EXPECT_EQ(window.Size(), size) << asked;
    RECT bounds;
    GetWindowRect(app.MainWindow(), &bounds);
    EXPECT_EQ(bounds.right - bounds.left, kForm1FixedWidth);
    EXPECT_EQ(bounds.bottom - bounds.top, kForm1FixedHeight);
  }
  EXPECT_EQ(app.CloseAndWait(), 0);
}

TEST_F(EndToEndTest, TheTrayClickBringsBackAWindowTheDesktopMinimised) {
  Kestrune app(dir_, "");
  ASSERT_TRUE(
      PumpUntil([&] { return app.MainWindow() && IsWindowVisible(app.MainWindow()); }, 20000));
  const HWND main = app.MainWindow();
  const XWindow window;
  ASSERT_TRUE(window.Found());
  window.Run("xdotool windowminimize " + window.Id());
  // Iconified, and then withdrawn once Kestrune hid it with its minimised taskbar entry.
  ASSERT_TRUE(PumpUntil([&] { return window.State() != "Normal"; }, 10000));
  ASSERT_TRUE(PumpUntil([&] { return IsIconic(GetWindow(main, GW_OWNER)) != FALSE; }, 10000));
  ASSERT_NO_FATAL_FAILURE(LeftClickTrayIcon(app));

  EXPECT_TRUE(PumpUntil([&] { return window.State() == "Normal"; }, 10000)) << window.State();
  EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(main) && !IsIconic(main); }, 10000));
  EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == main; }, 5000));
  EXPECT_EQ(app.CloseAndWait(), 0);
}

TEST_F(EndToEndTest, EveryWayOfClosingEndsWithCodeZero) {
  struct Case {
    const char* what;
    bool to_application_window;
    UINT message;
    WPARAM wparam;
  };
  const Case cases[] = {
      {"close button", false, WM_CLOSE, 0},
      {"system menu Close", false, WM_SYSCOMMAND, SC_CLOSE},
      {"menu command", false, WM_COMMAND, kMenuN1Id},
      {"taskbar Close", true, WM_CLOSE, 0},
      {"logon ends", true, WM_ENDSESSION, TRUE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    Kestrune app(dir, "");
    ASSERT_TRUE(
        PumpUntil([&] { return app.MainWindow() && IsWindowVisible(app.MainWindow()); }, 20000));
    const HWND target =
        c.to_application_window ? GetWindow(app.MainWindow(), GW_OWNER) : app.MainWindow();
    PostMessageW(target, c.message, c.wparam, 0);
    EXPECT_EQ(app.WaitForEnd(), 0);
  }
}

}  // namespace
}  // namespace kestrune
