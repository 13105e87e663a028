// The supervisor controller: the operator's Start, Stop and auto-start box and the check timer,
// turned into supervision of one game server. The main window's handlers forward here. Whatever
// fails (the tool, the result file, the server, the settings file), the checks go on and the
// restart history says what happened.
#pragma once

#include "base/win32/prelude.h"

#include <chrono>
#include <functional>
#include <string>

#include "supervision/failure_confirmation.h"
#include "supervision/restart_backoff.h"
#include "supervision/restart_history.h"
#include "supervision/server_process.h"
#include "supervision/settings_file.h"
#include "supervision/supervisor_window.h"
#include "supervision/tool_runner.h"
#include "ui/handle_watch.h"
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

  // True while a relaunch waits out the back-off; checks pass meanwhile.
  bool RestartPending() const { return restart_timer_.Enabled(); }

  // Ticks run Check unless the owner routes them through a handler of its own.
  TTimer& CheckTimer() { return timer_; }
  ServerProcess& Server() { return server_; }
  // How long a check waits for the query tool; the named limit unless a test shortens it.
  void SetToolWaitLimit(DWORD limit_ms) { tool_wait_limit_ms_ = limit_ms; }
  // The monotonic clock the back-off and the start grace read; the system's tick count unless a
  // test moves time on.
  using Clock = std::function<std::chrono::milliseconds()>;
  void SetClock(Clock clock) { clock_ = std::move(clock); }

 private:
  // The start of supervision (Start or auto-start): a fresh back-off and the [Watchdog] settings.
  void BeginSupervision(const std::string& how);
  // The tracked server's process ended. Unless supervision was stopped or the application is
  // ending (Kestrune's own kills stop the watch first), it is relaunched as after a failed check.
  void OnServerEnded();
  // After a failure (an end or a confirmed failed check): relaunch now, or after the back-off's
  // wait for a server that keeps failing soon after its launch.
  void RestartAfterFailure();
  // A tick of the back-off's countdown.
  void RestartCountdown();
  // The relaunch after a failure: it does not depend on the settings file. A save that fails is
  // reported once the server runs again.
  void Relaunch();
  // Kills the tracked server, its end unwatched; true when it ran.
  bool KillTrackedServer();
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
  TTimer restart_timer_;  // the back-off's countdown, a tick a second
  ServerProcess server_;
  HandleWatch server_end_;
  RestartBackoff backoff_;
  FailureConfirmation confirmation_{1, std::chrono::milliseconds(0)};
  Clock clock_;
  std::chrono::milliseconds restart_due_{0};  // while the countdown runs
  DWORD tool_wait_limit_ms_ = kToolWaitLimitMs;
  bool checking_ = false;
  unsigned starts_ = 0;           // launches begun, so a check sees a Start in its wait
  bool awaiting_answer_ = false;  // the next answer is the first after a launch or a failure
  bool end_noted_ = false;        // the tracked server's own end is in the history
};

}  // namespace kestrune
