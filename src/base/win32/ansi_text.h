// Conversions between the ANSI byte strings the system keeps as data and the wide texts that
// windows show.
#pragma once

#include "base/win32/prelude.h"

#include <string>
#include <string_view>

namespace kestrune {

inline std::wstring AnsiToWide(std::string_view text) {
  if (text.empty()) return {};
  const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring wide(length, L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), length);
  return wide;
}

inline std::string WideToAnsi(std::wstring_view text) {
  if (text.empty()) return {};
  const int length =
      ::WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string ansi(length, '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), ansi.data(), length, nullptr,
                        nullptr);
  return ansi;
}

// A window's whole text.
inline std::wstring WindowTextOf(HWND window) {
  std::wstring text(::GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(::GetWindowTextW(window, text.data(), int(text.size())));
  return text;
}

}  // namespace kestrune
