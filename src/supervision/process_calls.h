// The platform's process calls that server control makes, behind one seam, so a test can see which
// process each call names (the kill must name the launched process by the handle kept from its
// launch). The defaults are the platform's own calls.
#pragma once

#include "base/win32/prelude.h"

#include <string>

namespace kestrune {

class ProcessCalls {
 public:
  virtual ~ProcessCalls() = default;

  // The platform's calls, as every server control uses them outside tests.
  static ProcessCalls& Platform();

  virtual bool CreateProcess(const std::string& application, std::string& command_line,
                             STARTUPINFOA& startup, PROCESS_INFORMATION& launched) {
    return ::CreateProcessA(application.c_str(), command_line.data(), nullptr, nullptr, FALSE,
                            NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &launched) != FALSE;
  }
  virtual DWORD WaitForInputIdle(HANDLE process, DWORD timeout_ms) {
    return ::WaitForInputIdle(process, timeout_ms);
  }
  virtual DWORD WaitForSingleObject(HANDLE object, DWORD timeout_ms) {
    return ::WaitForSingleObject(object, timeout_ms);
  }
  virtual bool TerminateProcess(HANDLE process, UINT exit_code) {
    return ::TerminateProcess(process, exit_code) != FALSE;
  }
};

inline ProcessCalls& ProcessCalls::Platform() {
  static ProcessCalls platform;
  return platform;
}

}  // namespace kestrune
