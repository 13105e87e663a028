// The parts of message parameters the platform packs together.
#pragma once

#include "base/win32/prelude.h"

namespace kestrune {

// WM_SYSCOMMAND: the low four bits of wParam are the platform's own.
inline constexpr WPARAM kSystemCommandMask = 0xFFF0;
constexpr WPARAM SystemCommandOf(WPARAM wparam) {
  return wparam & kSystemCommandMask;
}

// WM_KEYDOWN, WM_SYSKEYDOWN: the key-flags word of lParam holds KF_ALTDOWN while Alt is down.
constexpr bool AltDown(LPARAM lparam) {
  return (HIWORD(lparam) & KF_ALTDOWN) != 0;
}

}  // namespace kestrune
