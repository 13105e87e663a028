#include "base/win32/prelude.h"

#include "supervision/tool_runner.h"

#include <shellapi.h>

#include <algorithm>

#include "base/win32/unique_handle.h"

namespace kestrune {
namespace {
constexpr int kShowCommands[] = {SW_SHOWNORMAL, SW_MINIMIZE, SW_SHOWMAXIMIZED, SW_HIDE};
}  // namespace

ToolRun RunToolAndWait(MessagePump& pump, HWND owner, const std::string& file,
                       const std::string& parameters, const std::string& directory,
                       std::uint8_t show_index, DWORD limit_ms) {
  SHELLEXECUTEINFOA request{};
  request.cbSize = sizeof request;
  // No box of the shell's own for a tool it cannot start: the check says so itself.
  request.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  request.hwnd = owner;
  request.lpFile = file.c_str();
  request.lpParameters = parameters.c_str();
  request.lpDirectory = directory.c_str();
  request.nShow = kShowCommands[show_index < 4 ? show_index : 0];
  if (!::ShellExecuteExA(&request)) {
    const DWORD error = ::GetLastError();
    return {ToolRun::Outcome::kNotStarted, 0, error ? error : DWORD(ERROR_FILE_NOT_FOUND)};
  }

  // The shell may hand the file to a program that runs already and give back no process: there
  // is nothing to wait for, and the start counts as a tool that ended with success (0).
  if (!request.hProcess) return {};
  const UniqueHandle process(request.hProcess);

  const ULONGLONG deadline = ::GetTickCount64() + limit_ms;
  for (;;) {
    pump.PumpPendingMessages();
    DWORD exit_code = STILL_ACTIVE;
    ::GetExitCodeProcess(process.get(), &exit_code);
    if (exit_code != STILL_ACTIVE) return {ToolRun::Outcome::kEnded, int(exit_code), 0};
    if (pump.TerminateRequested()) return {ToolRun::Outcome::kTerminating, 0, 0};
    const ULONGLONG now = ::GetTickCount64();
    if (now >= deadline) {
      ::TerminateProcess(process.get(), kToolTimedOutExitCode);
      return {ToolRun::Outcome::kTimedOut, 0, 0};
    }
    // Sleep until a message arrives, the tool ends or the limit comes. A tool that ended with
    // code 259 reads as still running; then a message or the limit ends the wait.
    const HANDLE handle = process.get();
    const bool ended = ::WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
    ::MsgWaitForMultipleObjectsEx(ended ? 0 : 1, ended ? nullptr : &handle,
                                  DWORD(std::min<ULONGLONG>(deadline - now, INFINITE - 1)),
                                  QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

}  // namespace kestrune
