// Starting an outside tool through the shell and waiting for it to end while the GUI thread's
// messages go on being dispatched.
#pragma once

#include "base/win32/prelude.h"

#include <cstdint>
#include <string>

#include "ui/message_pump.h"

namespace kestrune {

// Show choices by index: 0 normal, 1 minimised, 2 maximised, 3 hidden.
inline constexpr std::uint8_t kShowHidden = 3;

// How long a check waits for the query tool at most. The real tool gives up on a silent server
// after about 2 s; a tool still running after a minute hangs, and the check must not hang with it.
inline constexpr DWORD kToolWaitLimitMs = 60'000;

// The exit code of a tool ended because it ran past the wait's limit.
inline constexpr UINT kToolTimedOutExitCode = 0xFFFFFFFF;

// How a run of the tool ended.
struct ToolRun {
  enum class Outcome {
    kEnded,        // the tool ended by itself, with `exit_code`
    kNotStarted,   // the shell could not start it: `error` is the platform's code
    kTimedOut,     // it ran past the limit and was ended
    kTerminating,  // the application is ending: the wait stopped, the tool was left alone
  };
  Outcome outcome = Outcome::kEnded;
  int exit_code = 0;
  DWORD error = 0;
};

// Starts `file` with `parameters` in `directory`, the shell showing nothing of its own, and waits
// until the tool ends, `limit_ms` passes (the tool is then ended through the handle the shell gave
// back) or `pump` says the application is terminating. Every message that arrives meanwhile is
// dispatched through `pump`, so any handler may run inside the wait. `owner` is the window the
// shell acts for.
ToolRun RunToolAndWait(MessagePump& pump, HWND owner, const std::string& file,
                       const std::string& parameters, const std::string& directory,
                       std::uint8_t show_index, DWORD limit_ms = kToolWaitLimitMs);

}  // namespace kestrune
