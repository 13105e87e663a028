// Fixtures shared by the Win32 tests: temporary folders, the stand-in programs, process probes
// and a test double of the supervisor's window.
#pragma once

#include "base/win32/prelude.h"

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/win32/unique_handle.h"
#include "supervision/supervisor_window.h"
#include "ui/form.h"
#include "ui/message_pump.h"

namespace kestrune::test_support {

// A fresh folder under the temporary directory, removed with its contents at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder's path with its final "\".
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// The folder holding the test program and the stand-ins, with its final "\".
std::string BinDirectory();

// Copies the stand-in server into `dir` under `name` (srcds.exe, hlds.exe) and returns its path.
std::string InstallStandinServer(const TempDir& dir, const std::string& name = "srcds.exe");

// One start of a stand-in server, as it recorded itself beside its executable.
struct ServerRecord {
  DWORD pid = 0;
  std::string working_directory;
  std::string command_line;
};
std::vector<ServerRecord> ReadServerRecords(const TempDir& dir);

// Copies the stand-in query tool into `dir` as qstat.exe, with `control` (directives, one a line)
// as its control file, and returns its path. Its runs are recorded like the server's.
std::string InstallStandinTool(const TempDir& dir, const std::string& control = "");
std::vector<ServerRecord> ReadToolRecords(const TempDir& dir);

// Watches, on a thread of its own, for the dialogs (message boxes, the open-file dialog) of process
// `pid`, one at a time. A dialog that answers a message has finished coming up: it is then handed
// to `answer`, which reads it and closes it (or asks it to close); the watcher waits until it has
// gone before it looks for the next.
class DialogWatcher {
 public:
  DialogWatcher(DWORD pid, std::function<void(HWND dialog)> answer);
  ~DialogWatcher();
  DialogWatcher(const DialogWatcher&) = delete;
  DialogWatcher& operator=(const DialogWatcher&) = delete;

 private:
  void Run();
  const DWORD pid_;
  const std::function<void(HWND)> answer_;
  std::atomic<bool> stop_ = false;
  std::thread thread_;  // last: it starts once everything it uses is there
};

// A failure box as a watcher saw it, before it pressed OK.
struct BoxSeen {
  std::wstring caption;
  std::wstring text;
  HWND owner = nullptr;
  RECT bounds{};  // where it came up on the screen
};

// Records every message box of process `pid` that comes up, runs `while_open` (on the watcher's
// thread) while it is open, and presses OK.
class BoxWatcher {
 public:
  explicit BoxWatcher(DWORD pid = GetCurrentProcessId(), std::function<void()> while_open = {});

  // Every box seen so far (waits up to `timeout_ms` for at least `count` of them).
  std::vector<BoxSeen> Seen(std::size_t count = 0, DWORD timeout_ms = 10000);

 private:
  std::function<void()> while_open_;
  std::mutex mutex_;
  std::vector<BoxSeen> seen_;
  DialogWatcher watcher_;  // last: it reports into the members above
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// A handle to the process with `pid` that can wait for it, or none.
UniqueHandle OpenForWait(DWORD pid);
bool IsRunning(HANDLE process);

// Ends every process in the list that still runs (test cleanup).
void TerminateAll(const std::vector<DWORD>& pids);

// Ends every stand-in server and query tool that recorded its start in `dir` (test cleanup).
void EndStandins(const TempDir& dir);

// A plain visible top-level window of the test's thread, to stand for another window on screen.
class VisibleWindow {
 public:
  explicit VisibleWindow(const wchar_t* title = L"window", int x = 100, int y = 100);
  HWND get() const { return window_.get(); }

 private:
  UniqueHwnd window_;
};

// Whether the shell holds the tray icon (window, id): an update of nothing succeeds only for an
// icon it has.
bool InTray(HWND window, UINT id);

// Runs `command` (a shell command line without double quotes) on the X side, where xdotool,
// xwininfo and xprop see the windows as the desktop does; what it printed, or nothing when it did
// not finish within `timeout_ms`.
std::optional<std::string> RunOnX(const std::string& command, DWORD timeout_ms = 10000);

// Runs the thread's message loop until `done` holds or `timeout_ms` has passed; true if it held.
bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms);

// A form with nothing on it, to parent the controls under test.
class PlainForm final : public TForm {
 public:
  explicit PlainForm(FormDesign design) : TForm(std::move(design)) { CreateFormWindow(); }
};

// The message pump double: dispatches the thread's waiting messages, with no application object;
// a quit message, or `terminating` set by the test, stands for the application ending.
class ThreadPump : public MessagePump {
 public:
  void PumpPendingMessages() override;
  bool TerminateRequested() const override { return terminating; }
  bool terminating = false;
};

// The window double: fields as a map, the check box routed to `on_check_box_click`, every
// status text kept in order.
class FakeWindow : public SupervisorWindow {
 public:
  std::string FieldText(SettingField field) const override;
  void SetFieldText(SettingField field, const std::string& text) override;
  bool AutoStartChecked() const override { return checked_; }
  void SetAutoStartChecked(bool checked) override;
  void SetStatusText(const std::string& text) override { statuses.push_back(text); }
  void HideMainForm() override { ++hide_count; }

  std::string Status() const { return statuses.empty() ? std::string() : statuses.back(); }
  // Fills the fields for the stand-in server installed in `dir`, answering on `port`, and the
  // stand-in query tool there, with a delay long enough that only the test runs checks.
  void FillForStandins(const TempDir& dir, const std::string& port);

  std::map<SettingField, std::string> fields;
  std::vector<std::string> statuses;
  int hide_count = 0;
  std::function<void()> on_check_box_click;

 private:
  bool checked_ = false;
};

}  // namespace kestrune::test_support
