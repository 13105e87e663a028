// Finding the copies of the server that an earlier run left behind: processes of the same
// executable with the same command line. A process is known by a handle opened on it and checked
// through that handle, never by its identifier alone (identifiers are reused).
#pragma once

#include "base/win32/prelude.h"

#include <string>
#include <vector>

#include "base/win32/unique_handle.h"

namespace kestrune {

struct ServerCopy {
  DWORD pid = 0;
  UniqueHandle process;  // may terminate and wait
};

// The running processes whose image is `server_path` (as a full path, in any letter case) and
// whose command line is exactly `command_line`, created before this call, other than `except_pid`.
// A process that cannot be opened or read is not a copy.
std::vector<ServerCopy> FindServerCopies(const std::string& server_path,
                                         const std::string& command_line, DWORD except_pid);

}  // namespace kestrune
