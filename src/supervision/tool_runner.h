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

// Starts `file` with `parameters` in `directory` and waits until it ends or `pump` says the
// application is terminating; returns its exit code (259 when the wait ended with the tool still
// running), or -1 when the shell cannot start it. Every message that arrives meanwhile is
// dispatched through `pump`, so any handler may run inside the wait. `owner` owns whatever the
// shell shows.
int RunToolAndWait(MessagePump& pump, HWND owner, const std::string& file,
                   const std::string& parameters, const std::string& directory,
                   std::uint8_t show_index);

}  // namespace kestrune
