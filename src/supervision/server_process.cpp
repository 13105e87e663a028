#include "supervision/server_process.h"

namespace kestrune {

std::string ServerCommandLine(const std::string& additional_params) {
  return "srcds.exe " + additional_params;
}

void ServerProcess::LaunchServer(const std::string& server_path,
                                 const std::string& additional_params) {
  std::string command_line = ServerCommandLine(additional_params);
  PROCESS_INFORMATION launched{};
  if (!::CreateProcessA(server_path.c_str(), command_line.data(), nullptr, nullptr, FALSE,
                        NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup_info_, &launched)) {
    return;
  }
  UniqueHandle process(launched.hProcess);
  UniqueHandle thread(launched.hThread);
  ::WaitForInputIdle(process.get(), kInputIdleWaitMs);

  // The earlier server, if any, keeps running untracked; its handle is closed here.
  process_ = std::move(process);
  info_ = launched;
  info_.hProcess = nullptr;
  info_.hThread = nullptr;
}

void ServerProcess::KillServer() {
  if (!process_) return;
  if (::WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0) return;
  if (::TerminateProcess(process_.get(), 0xFFFFFFFF)) {
    ::WaitForSingleObject(process_.get(), kServerExitWaitMs);
  }
}

}  // namespace kestrune
