#include "supervision/server_process.h"

namespace kestrune {

std::string ServerCommandLine(const std::string& additional_params) {
  return "srcds.exe " + additional_params;
}

void ServerProcess::LaunchServer(const std::string& server_path,
                                 const std::string& additional_params) {
  std::string command_line = ServerCommandLine(additional_params);
  PROCESS_INFORMATION launched{};
  if (!calls_.CreateProcess(server_path, command_line, startup_info_, launched)) return;
  UniqueHandle process(launched.hProcess);
  UniqueHandle thread(launched.hThread);
  calls_.WaitForInputIdle(process.get(), kInputIdleWaitMs);

  // The earlier server, if any, keeps running untracked; its handle is closed here.
  process_ = std::move(process);
  info_ = launched;
  info_.hProcess = nullptr;
  info_.hThread = nullptr;
}

void ServerProcess::KillServer() {
  if (!process_) return;
  if (calls_.WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0) return;
  if (calls_.TerminateProcess(process_.get(), kKilledServerExitCode)) {
    calls_.WaitForSingleObject(process_.get(), kServerExitWaitMs);
  }
}

}  // namespace kestrune
