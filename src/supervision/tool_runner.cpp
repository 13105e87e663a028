#include "base/win32/prelude.h"

#include "supervision/tool_runner.h"

#include <shellapi.h>

#include "base/win32/unique_handle.h"

namespace kestrune {
namespace {
constexpr int kShowCommands[] = {SW_SHOWNORMAL, SW_MINIMIZE, SW_SHOWMAXIMIZED, SW_HIDE};
}  // namespace

int RunToolAndWait(MessagePump& pump, HWND owner, const std::string& file,
                   const std::string& parameters, const std::string& directory,
                   std::uint8_t show_index) {
  SHELLEXECUTEINFOA request{};
  request.cbSize = sizeof request;
  request.fMask = SEE_MASK_NOCLOSEPROCESS;
  request.hwnd = owner;
  request.lpFile = file.c_str();
  request.lpParameters = parameters.c_str();
  request.lpDirectory = directory.c_str();
  request.nShow = kShowCommands[show_index < 4 ? show_index : 0];
  if (!::ShellExecuteExA(&request)) return -1;

  // The shell may hand the file to a program that runs already and give back no process: there
  // is nothing to wait for, and the start counts as a tool that ended with success (0).
  if (!request.hProcess) return 0;
  const UniqueHandle process(request.hProcess);

  DWORD exit_code = STILL_ACTIVE;
  for (;;) {
    pump.PumpPendingMessages();
    ::GetExitCodeProcess(process.get(), &exit_code);
    if (exit_code != STILL_ACTIVE || pump.TerminateRequested()) break;
    // Sleep until a message arrives or the tool ends. A tool that ended with code 259 reads as
    // still running; then only a message (the quit one at the latest) can end the wait.
    const HANDLE handle = process.get();
    const bool ended = ::WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
    ::MsgWaitForMultipleObjectsEx(ended ? 0 : 1, ended ? nullptr : &handle, INFINITE, QS_ALLINPUT,
                                  MWMO_INPUTAVAILABLE);
  }
  return static_cast<int>(exit_code);
}

}  // namespace kestrune
