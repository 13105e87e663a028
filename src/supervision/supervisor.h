// The supervisor controller: the operator's Start, Stop and auto-start box and the check timer,
// turned into supervision of one game server. The main window's handlers forward here. Whatever
// fails (the tool, the result file, the server, the settings file), the checks go on and the
// restart history says what happened.
#pragma once

#include "base/win32/prelude.h"

#include <functional>
#include <string>

#include "supervision/restart_history.h"
#include "supervision/server_process.h"
#include "supervision/settings_file.h"
#include "supervision/supervisor_window.h"
#include "supervision/tool_runner.h"
#include "ui/message_pump.h"
#include "ui/timer.h"

namespace kestrune {

class Supervisor {
 public:
  using PathSource = std::function<std::string()>;

  // `settings_path` and `history_path` name the settings file and the restart history; they are
  // asked afresh for every read and write. `pump` keeps the window alive while a check waits for
  // the query tool, for which the shell acts on behalf of `tool_owner`.
  Supervisor(SupervisorWindow& window, MessagePump& pump, HWND tool_owner = nullptr,
             PathSource settings_path = SettingsPathBesideExecutable,
             PathSource history_path = RestartHistory::PathBesideExecutable);
  // "Kestrune closed" in the history; the server goes on running.
  ~Supervisor();
  Supervisor(const Supervisor&) = delete;
  Supervisor& operator=(const Supervisor&) = delete;

  // When the window is created: load the settings (or create the file), then auto-start when
  // [Settings] AutoStart is exactly "1".
  void LoadAtStart();
  // The operator's Start: StartServer, "Server started", hide to the tray.
  void StartSupervision();
  // The operator's Stop: kill the server, disable the timer, "Server stoped".
  void StopSupervision();
  // The auto-start box changed: write its state.
  void AutoStartChanged();

  // The health check at every tick of the check timer: run the query tool, read line 2 of its
  // result, and kill and restart a server that did not answer. A tick while a check waits for its
  // tool passes; a check whose reason went away during the wait (Stop, another Start, the
  // application ending) ends without acting. A check that cannot reach a verdict (the tool cannot
  // start or does not finish, the old result cannot be removed) says so and leaves the server.
  void Check();

  // Save the settings, launch the server, arm the timer, "Starting server". A refused save
  // launches nothing.
  void StartServer();

  // Ticks run Check unless the owner routes them through a handler of its own.
  TTimer& CheckTimer() { return timer_; }
  ServerProcess& Server() { return server_; }
  // How long a check waits for the query tool; the named limit unless a test shortens it.
  void SetToolWaitLimit(DWORD limit_ms) { tool_wait_limit_ms_ = limit_ms; }

 private:
  // The relaunch after a failed check: it does not depend on the settings file. A save that fails
  // is reported once the server runs again.
  void Relaunch();
  // Ends the server this supervisor runs and any copy an earlier run left, launches, arms the
  // timer and sets "Starting server".
  void LaunchAndArm();
  void EndCopiesOfTheServer(const std::string& path, const std::string& params);
  // Notes in the history a server that ended by itself since the last look.
  void NoteServerEnd();
  void Record(const std::string& text) const { history_.Add(text); }

  SupervisorWindow& window_;
  MessagePump& pump_;
  HWND tool_owner_;
  PathSource settings_path_;
  RestartHistory history_;
  TTimer timer_;
  ServerProcess server_;
  DWORD tool_wait_limit_ms_ = kToolWaitLimitMs;
  bool checking_ = false;
  unsigned starts_ = 0;           // launches begun, so a check sees a Start in its wait
  bool awaiting_answer_ = false;  // the next answer is the first after a launch or a failure
  bool end_noted_ = false;        // the tracked server's own end is in the history
};

}  // namespace kestrune
