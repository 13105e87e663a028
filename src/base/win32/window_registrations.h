// Registrations made on a window that must be undone while it still exists: a window property and
// a window timer. Each is an owner; a window that has gone took its registrations with it.
#pragma once

#include "base/win32/prelude.h"

#include "base/win32/unique_handle.h"

namespace kestrune {

// SetProp for the scope's lifetime.
class ScopedWindowProperty {
 public:
  ScopedWindowProperty(HWND window, const wchar_t* name, void* value)
      : window_(::SetPropW(window, name, value) ? window : nullptr), name_(name) {}
  ~ScopedWindowProperty() {
    if (window_ && ::IsWindow(window_)) ::RemovePropW(window_, name_);
  }
  ScopedWindowProperty(const ScopedWindowProperty&) = delete;
  ScopedWindowProperty& operator=(const ScopedWindowProperty&) = delete;

 private:
  HWND window_;
  const wchar_t* name_;
};

// A timer of SetTimer on a window, by its id.
struct WindowTimer {
  HWND window = nullptr;
  UINT_PTR id = 0;
  bool operator==(const WindowTimer&) const = default;
};

struct WindowTimerTraits {
  using Value = WindowTimer;
  static Value Invalid() { return {}; }
  static void Close(Value timer) {
    if (::IsWindow(timer.window)) ::KillTimer(timer.window, timer.id);
  }
};

// An armed timer: killed when reset or destroyed.
using UniqueTimer = UniqueAny<WindowTimerTraits>;

// Arms timer `id` of `window` into `timer`, killing what `timer` held first (so a timer of the
// same id is never killed after it was re-armed). False, with `timer` empty, when the platform
// refuses.
inline bool ArmTimer(UniqueTimer& timer, HWND window, UINT_PTR id, UINT elapse_ms) {
  timer.reset();
  if (!::SetTimer(window, id, elapse_ms, nullptr)) return false;
  timer.reset({window, id});
  return true;
}

}  // namespace kestrune
