// The supervisor controller: the operator's Start, Stop and auto-start box and the check timer,
// turned into supervision of one game server. The main window's handlers forward here.
#pragma once

#include <functional>
#include <string>

#include "base/win32/prelude.h"

#include "ui/message_pump.h"
#include "ui/timer.h"
#include "supervision/server_process.h"
#include "supervision/settings_file.h"
#include "supervision/supervisor_window.h"

namespace kestrune {

class Supervisor {
 public:
  using PathSource = std::function<std::string()>;

  // `settings_path` names the settings file; it is asked afresh for every read and write. `pump`
  // keeps the window alive while a check waits for the query tool, whose shell requests
  // `tool_owner` owns.
  Supervisor(SupervisorWindow& window, MessagePump& pump, HWND tool_owner = nullptr,
             PathSource settings_path = SettingsPathBesideExecutable);

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
  // application ending) ends without acting.
  void Check();

  // Save the settings, launch the server, arm the timer, "Starting server".
  void StartServer();

  // Ticks run Check unless the owner routes them through a handler of its own.
  TTimer& CheckTimer() { return timer_; }
  ServerProcess& Server() { return server_; }

 private:
  SupervisorWindow& window_;
  MessagePump& pump_;
  HWND tool_owner_;
  PathSource settings_path_;
  TTimer timer_;
  ServerProcess server_;
  bool checking_ = false;
  unsigned starts_ = 0;  // launches begun by StartServer, so a check sees a Start in its wait
};

}  // namespace kestrune
