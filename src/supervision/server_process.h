// Launching the game server and killing it again. The record of the last successful launch is the
// supervisor's only link to the server it started.
#pragma once

#include "base/win32/prelude.h"

#include <optional>
#include <string>

#include "base/win32/unique_handle.h"
#include "supervision/process_calls.h"

namespace kestrune {

// Bounds on the two waits that block the GUI thread, so a server that never settles or never ends
// cannot freeze the supervisor; when a bound runs out the procedure goes on as if the wait
// returned.
inline constexpr DWORD kInputIdleWaitMs = 60'000;
inline constexpr DWORD kServerExitWaitMs = 30'000;

// The exit code a killed server ends with.
inline constexpr UINT kKilledServerExitCode = 0xFFFFFFFF;

// The error mode a server starts with, on top of the supervisor's own.
inline constexpr UINT kServerErrorMode = SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX;

// The server's command line: "srcds.exe " followed by the parameters, whichever executable runs.
std::string ServerCommandLine(const std::string& additional_params);

class ServerProcess {
 public:
  explicit ServerProcess(ProcessCalls& calls = ProcessCalls::Platform()) : calls_(calls) {
    startup_info_.cb = sizeof startup_info_;
  }

  // Starts the server, with the error mode that keeps the system's critical-error and "has
  // stopped working" boxes away (the server inherits it, so a crash ends the process instead of
  // waiting for a click), and waits until it is idle for input. A refused launch raises nothing and
  // leaves the record and the kept process as they were; it answers the platform's error code
  // (0 for a launch).
  DWORD LaunchServer(const std::string& server_path, const std::string& additional_params);

  // Terminates the last launched server through the handle kept from its launch, never by
  // reopening its identifier (which the platform may have given to another process since), and
  // waits for it to end. Raises nothing; a server that has ended already is left alone. True when
  // it ended a running server.
  bool KillServer();

  // The last launched server's process, kept from its launch; nullptr before any launch.
  HANDLE ProcessHandle() const { return process_.get(); }

  // The exit code of the last launched server once it has ended by itself or been killed;
  // nothing while it runs or before any launch.
  std::optional<DWORD> ExitCode() const;

  // The last successful launch: both handles are closed once the launch returns (zero here), the
  // identifiers are kept.
  const PROCESS_INFORMATION& ServerProcessInfo() const { return info_; }

 private:
  ProcessCalls& calls_;
  STARTUPINFOA startup_info_{};  // only its size is set: the server gets the defaults
  PROCESS_INFORMATION info_{};
  UniqueHandle process_;  // the last launched server, kept for the kill
};

}  // namespace kestrune
