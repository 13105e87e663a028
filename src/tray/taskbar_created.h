// "TaskbarCreated": the message the shell broadcasts when the taskbar has been recreated, after
// which every tray icon must be added again. Registered by an explicit start-up step, and only
// where the common controls are recent enough to send it.
#pragma once

#include "base/win32/prelude.h"

#include <cstdint>

namespace kestrune {

// The version of the platform's "comctl32.dll" (major * 65536 + minor), read once; 0 when it
// cannot be read.
std::uint32_t CommonControlsVersion();
// Registers "TaskbarCreated" when `comctl_version` is recent enough, and forgets it otherwise.
// Start-up calls it with CommonControlsVersion().
void RegisterTaskbarCreated(std::uint32_t comctl_version);
// The registered number of "TaskbarCreated"; 0 while none is registered.
UINT TaskbarCreatedMessage();

}  // namespace kestrune
