// A window subclass as an owner: while it lives, the window's messages go through its handler
// (behind the exception barrier) before the window's own procedure.
#pragma once

#include "base/win32/prelude.h"

#include <functional>

namespace kestrune {

class ScopedSubclass {
 public:
  // Gets every message; passes one on with Forward. Its failures go to the failure report and the
  // message answers 0.
  using Handler = std::function<LRESULT(UINT message, WPARAM wparam, LPARAM lparam)>;

  ScopedSubclass() = default;
  // Installs the subclass; Installed() tells whether the platform took it.
  ScopedSubclass(HWND window, Handler handler);
  ~ScopedSubclass();
  ScopedSubclass(const ScopedSubclass&) = delete;
  ScopedSubclass& operator=(const ScopedSubclass&) = delete;

  bool Installed() const { return window_ != nullptr; }
  // The window's handling without this subclass (and those installed after it).
  LRESULT Forward(UINT message, WPARAM wparam, LPARAM lparam) const;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                    UINT_PTR id, DWORD_PTR self) noexcept;

  HWND window_ = nullptr;
  Handler handler_;
};

}  // namespace kestrune
