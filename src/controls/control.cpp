#include "controls/control.h"

#include <commctrl.h>

#include "base/exceptions.h"
#include "base/win32/ansi_text.h"
#include "shell/failure_sink.h"

namespace kestrune {

TControl::TControl(HWND parent, const wchar_t* window_class, DWORD style, DWORD ex_style,
                   const ControlPlacement& placement) {
  const HWND window = ::CreateWindowExW(ex_style, window_class, placement.text.c_str(),
                                        WS_CHILD | WS_VISIBLE | style, placement.left,
                                        placement.top, placement.width, placement.height, parent,
                                        nullptr, ::GetModuleHandleW(nullptr), nullptr);
  if (!window) throw EOutOfResources("Error creating window");
  handle_.reset(window);
  AttachCommandTarget(window, this);
}

TControl::~TControl() {
  if (!handle_) return;
  DetachCommandTarget(handle_.get());
  if (subclassed_) ::RemoveWindowSubclass(handle_.get(), &TControl::SubclassProc, 0);
}

void TControl::Subclass() {
  subclassed_ =
      ::SetWindowSubclass(Handle(), &TControl::SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT TControl::WindowMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return ::DefSubclassProc(Handle(), message, wparam, lparam);
}

LRESULT CALLBACK TControl::SubclassProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                        UINT_PTR, DWORD_PTR self) noexcept {
  LRESULT result = 0;
  bool failed = true;
  CallGuarded([&] {
    result = reinterpret_cast<TControl*>(self)->WindowMessage(message, wparam, lparam);
    failed = false;
  });
  (void)window;
  return failed ? 0 : result;
}

std::string TControl::Text() const {
  return WideToAnsi(WideText());
}

void TControl::SetText(const std::string& text) {
  SetWideText(AnsiToWide(text));
}

std::wstring TControl::WideText() const {
  return WindowTextOf(Handle());
}

void TControl::SetWideText(const std::wstring& text) {
  ::SetWindowTextW(Handle(), text.c_str());
}

void TControl::SetFont(HFONT font) {
  ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace kestrune
