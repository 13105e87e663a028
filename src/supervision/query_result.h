// Reading line 2 of the query tool's result file.
#pragma once

#include <string>

namespace kestrune {

// Opens the file for reading (others may read it meanwhile, not write it), returns line 2 and
// closes it again on every path. The path is used whole, however long. Raises EInOutError 104 when
// the file cannot be opened, and the platform's error code when a read fails.
std::string ReadQueryResult(const std::string& path);

// Removes the result file before the tool runs, so that a tool that writes nothing can never leave
// an earlier verdict behind. 0 when the file is gone (or never was), otherwise the platform's
// error code.
unsigned long RemoveQueryResult(const std::string& path);

}  // namespace kestrune
