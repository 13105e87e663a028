// What both stand-in programs share: where they live, and the record each start appends to a log
// beside the executable ("<pid>\t<working directory>\t<command line>"), which the tests read.
#pragma once

#include "base/win32/prelude.h"

#include <string>

#include "base/win32/unique_handle.h"

namespace kestrune::standin {

// The executable's folder with its final "\".
inline std::string ExeDirectory() {
  char path[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string result(path, length);
  return result.substr(0, result.find_last_of("\\/") + 1);
}

// Appends `line` to `log_name` beside the executable; several runs may log at once.
inline void AppendLine(const char* log_name, const std::string& line) {
  const UniqueFile file(CreateFileA((ExeDirectory() + log_name).c_str(), FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  DWORD written = 0;
  WriteFile(file.get(), line.data(), DWORD(line.size()), &written, nullptr);
}

// Appends this start's record to `log_name` beside the executable.
inline void AppendStartRecord(const char* log_name) {
  char directory[MAX_PATH * 4];
  const DWORD directory_length = GetCurrentDirectoryA(sizeof directory, directory);
  AppendLine(log_name, std::to_string(GetCurrentProcessId()) + "\t" +
                           std::string(directory, directory_length) + "\t" + GetCommandLineA() +
                           "\n");
}

}  // namespace kestrune::standin
