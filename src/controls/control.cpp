#include "controls/control.h"

#include "base/exceptions.h"
#include "base/win32/ansi_text.h"

namespace kestrune {

namespace {

HWND CreateControlWindow(HWND parent, const wchar_t* window_class, DWORD style, DWORD ex_style,
                         const ControlPlacement& placement) {
  const HWND window = ::CreateWindowExW(ex_style, window_class, placement.text.c_str(),
                                        WS_CHILD | WS_VISIBLE | style, placement.left,
                                        placement.top, placement.width, placement.height, parent,
                                        nullptr, ::GetModuleHandleW(nullptr), nullptr);
  if (!window) throw EOutOfResources("Error creating window");
  return window;
}

}  // namespace

TControl::TControl(HWND parent, const wchar_t* window_class, DWORD style, DWORD ex_style,
                   const ControlPlacement& placement)
    : handle_(CreateControlWindow(parent, window_class, style, ex_style, placement)),
      link_(handle_.get(), *this) {}

void TControl::Subclass() {
  subclass_.emplace(Handle(), [this](UINT message, WPARAM wparam, LPARAM lparam) {
    return WindowMessage(message, wparam, lparam);
  });
}

LRESULT TControl::WindowMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return subclass_->Forward(message, wparam, lparam);
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

void TControl::SetSkin(const SkinPainter* skin) {
  skin_ = skin;
  ::RedrawWindow(Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

bool HotTracking::Follow(HWND window, UINT message) {
  switch (message) {
    case WM_MOUSEMOVE:
      if (hot_) return false;
      {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
        ::TrackMouseEvent(&track);
      }
      hot_ = true;
      return true;
    case WM_MOUSELEAVE:
      if (!hot_) return false;
      hot_ = false;
      return true;
  }
  return false;
}

HFONT FontOf(HWND window) {
  return reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
}

void TControl::SetFont(HFONT font) {
  ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace kestrune
