#include "supervision/server_process.h"

namespace kestrune {
namespace {

// The process's error mode, changed for the scope and put back after it.
class ErrorModeScope {
 public:
  explicit ErrorModeScope(UINT added) : previous_(::GetErrorMode()) {
    ::SetErrorMode(previous_ | added);
  }
  ~ErrorModeScope() { ::SetErrorMode(previous_); }
  ErrorModeScope(const ErrorModeScope&) = delete;
  ErrorModeScope& operator=(const ErrorModeScope&) = delete;

 private:
  UINT previous_;
};

}  // namespace

std::string ServerCommandLine(const std::string& additional_params) {
  return "srcds.exe " + additional_params;
}

DWORD ServerProcess::LaunchServer(const std::string& server_path,
                                  const std::string& additional_params) {
  std::string command_line = ServerCommandLine(additional_params);
  PROCESS_INFORMATION launched{};
  bool created = false;
  DWORD error = 0;
  {
    const ErrorModeScope no_crash_boxes(kServerErrorMode);
    created = calls_.CreateProcess(server_path, command_line, startup_info_, launched);
    error = ::GetLastError();
  }
  if (!created) return error ? error : DWORD(ERROR_INVALID_FUNCTION);
  UniqueHandle process(launched.hProcess);
  UniqueHandle thread(launched.hThread);
  calls_.WaitForInputIdle(process.get(), kInputIdleWaitMs);

  // The earlier server, if any, keeps running untracked; its handle is closed here.
  process_ = std::move(process);
  info_ = launched;
  info_.hProcess = nullptr;
  info_.hThread = nullptr;
  return 0;
}

bool ServerProcess::KillServer() {
  if (!process_) return false;
  if (calls_.WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0) return false;
  if (!calls_.TerminateProcess(process_.get(), kKilledServerExitCode)) return false;
  calls_.WaitForSingleObject(process_.get(), kServerExitWaitMs);
  return true;
}

std::optional<DWORD> ServerProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (!process_ || ::WaitForSingleObject(process_.get(), 0) != WAIT_OBJECT_0 ||
      !::GetExitCodeProcess(process_.get(), &code)) {
    return std::nullopt;
  }
  return code;
}

}  // namespace kestrune
