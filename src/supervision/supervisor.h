// The supervisor controller: the operator's Start, Stop and auto-start box and the check timer,
// turned into supervision of one game server. The main window forwards its handlers here.
#pragma once

#include <functional>
#include <string>

#include "shell/timer.h"
#include "supervision/server_process.h"
#include "supervision/settings_file.h"
#include "supervision/supervisor_window.h"

namespace kestrune {

class Supervisor {
 public:
  using PathSource = std::function<std::string()>;

  // `settings_path` names the settings file; it is asked afresh for every read and write.
  explicit Supervisor(SupervisorWindow& window,
                      PathSource settings_path = SettingsPathBesideExecutable);

  // The window's creation handler: load the settings (or create the file), then auto-start when
  // [Settings] AutoStart is exactly "1".
  void FormCreate();
  // Start: StartServer, "Server started", hide to the tray.
  void Button1Click();
  // Stop: kill the server, disable the timer, "Server stoped".
  void Button2Click();
  // The auto-start box changed: write its state.
  void sCheckBox1Click();

  // The health check at every tick: run the query tool, read line 2 of its result, and kill and
  // restart a server that did not answer. A tick while a check waits for its tool passes; a check
  // whose reason went away during the wait (Stop, another Start, the application ending) ends
  // without acting.
  void Timer1Timer();

  // Save the settings, launch the server, arm the timer, "Starting server".
  void StartServer();

  TTimer& Timer1() { return timer_; }
  ServerProcess& Server() { return server_; }

 private:
  SupervisorWindow& window_;
  PathSource settings_path_;
  TTimer timer_;
  ServerProcess server_;
  bool checking_ = false;
  unsigned starts_ = 0;  // launches begun by StartServer, so a check sees a Start in its wait
};

}  // namespace kestrune
