// The one window base: a static window procedure adopts the window at its first message, forwards
// every message to HandleMessage behind an exception barrier, and lets go of it at WM_NCDESTROY.
#pragma once

#include "base/win32/prelude.h"

#include "base/win32/unique_handle.h"
#include "ui/failure_sink.h"

namespace kestrune {

// Runs a window or subclass procedure's handler behind the exception barrier: a failure goes to
// the failure report and the message answers `failed_result`.
template <typename Handler>
LRESULT GuardedMessage(Handler&& handler, LRESULT failed_result) noexcept {
  LRESULT result = failed_result;
  CallGuarded([&] { result = handler(); });
  return result;
}

class WindowBase {
 public:
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  HWND Handle() const { return window_.get(); }

 protected:
  struct CreateParams {
    const wchar_t* class_name;
    const wchar_t* title = L"";
    DWORD style = 0;
    DWORD ex_style = 0;
    int x = 0, y = 0, width = 0, height = 0;
    HWND parent = nullptr;
    HMENU menu = nullptr;
    UINT class_style = 0;
    HBRUSH background = nullptr;
    HICON icon = nullptr;
  };

  WindowBase() = default;
  // Unlinks the window first, so its last messages never reach a part of the object that has
  // gone, then destroys it when it is still there.
  virtual ~WindowBase();

  // The second phase of construction: registers the class (once per name) and creates the
  // window. The most-derived class calls it at the end of its constructor, so that class answers
  // every message from the first one. Raises EOutOfResources when the platform refuses.
  void CreateWindowHandle(const CreateParams& params);

  // The default: the platform's own handling. A message whose handling fails answers 0.
  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam,
                                     LPARAM lparam) noexcept;

  UniqueHwnd window_;  // the one owner: adopted at the first message, let go at WM_NCDESTROY
};

}  // namespace kestrune
