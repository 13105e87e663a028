#include "base/win32/prelude.h"

#include "supervision/query_result.h"

#include "base/exceptions.h"
#include "base/win32/ansi_text.h"
#include "base/win32/unique_handle.h"
#include "supervision/query_result_rules.h"

namespace kestrune {
namespace {

// A path longer than the classic limit is only opened whole through the "\\?\" form, which
// needs a full path.
std::wstring OpenablePath(const std::string& path) {
  std::wstring wide = AnsiToWide(path);
  if (wide.size() < MAX_PATH || wide.rfind(L"\\\\?\\", 0) == 0) return wide;
  const DWORD length = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  std::wstring full(length, L'\0');
  full.resize(::GetFullPathNameW(wide.c_str(), length, full.data(), nullptr));
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

}  // namespace

std::string ReadQueryResult(const std::string& path) {
  const UniqueFile file(::CreateFileW(OpenablePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw EInOutError(kFileNotOpenForInput);
  return SecondLine([&](char* buffer, std::size_t size) -> std::size_t {
    DWORD read = 0;
    if (!::ReadFile(file.get(), buffer, DWORD(size), &read, nullptr)) {
      throw EInOutError(int(::GetLastError()));
    }
    return read;
  });
}

unsigned long RemoveQueryResult(const std::string& path) {
  if (::DeleteFileW(OpenablePath(path).c_str())) return 0;
  const DWORD error = ::GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : error;
}

}  // namespace kestrune
