#include "ui/scoped_subclass.h"

#include <commctrl.h>

#include "ui/window_base.h"

namespace kestrune {

// The subclass id is the scope's address, so several scopes may subclass one window.
ScopedSubclass::ScopedSubclass(HWND window, Handler handler) : handler_(std::move(handler)) {
  if (::SetWindowSubclass(window, &ScopedSubclass::Procedure, reinterpret_cast<UINT_PTR>(this),
                          reinterpret_cast<DWORD_PTR>(this))) {
    window_ = window;
  }
}

ScopedSubclass::~ScopedSubclass() {
  if (window_ && ::IsWindow(window_)) {
    ::RemoveWindowSubclass(window_, &ScopedSubclass::Procedure, reinterpret_cast<UINT_PTR>(this));
  }
}

LRESULT ScopedSubclass::Forward(UINT message, WPARAM wparam, LPARAM lparam) const {
  return ::DefSubclassProc(window_, message, wparam, lparam);
}

LRESULT CALLBACK ScopedSubclass::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                           UINT_PTR, DWORD_PTR self) noexcept {
  auto& scope = *reinterpret_cast<ScopedSubclass*>(self);
  // The window is going: the subclass goes with it, whatever the scope does later.
  if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(window, &ScopedSubclass::Procedure, reinterpret_cast<UINT_PTR>(&scope));
    scope.window_ = nullptr;
    return ::DefSubclassProc(window, message, wparam, lparam);
  }
  return GuardedMessage([&] { return scope.handler_(message, wparam, lparam); }, 0);
}

}  // namespace kestrune
