#include "base/win32/prelude.h"

#include "supervision/server_copies.h"

#include <tlhelp32.h>
#include <winternl.h>

#include "base/win32/ansi_text.h"

namespace kestrune {
namespace {

std::wstring FullPath(const std::wstring& path) {
  const DWORD length = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (length == 0) return path;
  std::wstring full(length, L'\0');
  full.resize(::GetFullPathNameW(path.c_str(), length, full.data(), nullptr));
  return full;
}

std::wstring ImagePath(HANDLE process) {
  std::wstring path(32768, L'\0');
  DWORD length = DWORD(path.size());
  if (!::QueryFullProcessImageNameW(process, 0, path.data(), &length)) return {};
  path.resize(length);
  return path;
}

// The command line the process was started with, read from its process parameters.
std::wstring CommandLineOf(HANDLE process) {
  PROCESS_BASIC_INFORMATION basic{};
  ULONG returned = 0;
  if (!NT_SUCCESS(::NtQueryInformationProcess(process, ProcessBasicInformation, &basic,
                                              sizeof basic, &returned)) ||
      !basic.PebBaseAddress) {
    return {};
  }
  PEB peb{};
  RTL_USER_PROCESS_PARAMETERS parameters{};
  SIZE_T read = 0;
  if (!::ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, &read) ||
      !peb.ProcessParameters ||
      !::ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof parameters, &read) ||
      !parameters.CommandLine.Buffer) {
    return {};
  }
  std::wstring command_line(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
  if (!::ReadProcessMemory(process, parameters.CommandLine.Buffer, command_line.data(),
                           parameters.CommandLine.Length, &read)) {
    return {};
  }
  return command_line;
}

ULONGLONG CreationTime(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return ~0ull;
  return (ULONGLONG(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

}  // namespace

std::vector<ServerCopy> FindServerCopies(const std::string& server_path,
                                         const std::string& command_line, DWORD except_pid) {
  FILETIME scan;
  ::GetSystemTimeAsFileTime(&scan);
  const ULONGLONG scan_time = (ULONGLONG(scan.dwHighDateTime) << 32) | scan.dwLowDateTime;
  const std::wstring wanted_image = FullPath(AnsiToWide(server_path));
  const std::wstring wanted_command_line = AnsiToWide(command_line);

  std::vector<ServerCopy> copies;
  const UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return copies;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more;
       more = ::Process32NextW(snapshot.get(), &entry)) {
    if (entry.th32ProcessID == except_pid || entry.th32ProcessID == ::GetCurrentProcessId()) {
      continue;
    }
    UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION |
                                           PROCESS_QUERY_INFORMATION | PROCESS_VM_READ |
                                           PROCESS_TERMINATE | SYNCHRONIZE,
                                       FALSE, entry.th32ProcessID));
    // From here on the handle names the process, whatever becomes of the identifier.
    if (!process || ::WaitForSingleObject(process.get(), 0) != WAIT_TIMEOUT) continue;
    if (CreationTime(process.get()) >= scan_time) continue;
    if (::lstrcmpiW(ImagePath(process.get()).c_str(), wanted_image.c_str()) != 0) continue;
    if (CommandLineOf(process.get()) != wanted_command_line) continue;
    copies.push_back({entry.th32ProcessID, std::move(process)});
  }
  return copies;
}

}  // namespace kestrune
