// The one window base: a static window procedure attaches the object at WM_NCCREATE, forwards
// every message to HandleMessage behind an exception barrier, and detaches at WM_NCDESTROY.
#pragma once

#include "base/win32/prelude.h"

#include "base/win32/unique_handle.h"

namespace kestrune {

class WindowBase {
 public:
  WindowBase() = default;
  virtual ~WindowBase() = default;
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  HWND Handle() const { return handle_.get(); }

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

  // Registers the class (once per name) and creates the window; raises EOutOfResources when the
  // platform refuses the window.
  void CreateWindowHandle(const CreateParams& params);

  // Destroys the window now, before the object goes.
  void DestroyWindowHandle() { handle_.reset(); }

  // The default: the platform's own handling.
  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  // What a message that failed in HandleMessage returns.
  virtual LRESULT FailedMessageResult(UINT /*message*/) { return 0; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam,
                                     LPARAM lparam) noexcept;

  UniqueHwnd handle_;
  HWND attached_ = nullptr;  // set from WM_NCCREATE until the window has gone
};

}  // namespace kestrune
