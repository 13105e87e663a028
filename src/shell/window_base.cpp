#include "shell/window_base.h"

#include "base/exceptions.h"
#include "shell/failure_sink.h"

namespace kestrune {

void WindowBase::CreateWindowHandle(const CreateParams& params) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW window_class{};
  if (!::GetClassInfoExW(instance, params.class_name, &window_class)) {
    window_class = WNDCLASSEXW{};
    window_class.cbSize = sizeof window_class;
    window_class.style = params.class_style;
    window_class.lpfnWndProc = &WindowBase::WindowProc;
    window_class.hInstance = instance;
    window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = params.background;
    window_class.hIcon = params.icon;
    window_class.lpszClassName = params.class_name;
    ::RegisterClassExW(&window_class);
  }
  const HWND window = ::CreateWindowExW(params.ex_style, params.class_name, params.title,
                                        params.style, params.x, params.y, params.width,
                                        params.height, params.parent, params.menu, instance, this);
  if (!window) throw EOutOfResources("Error creating window");
  handle_.reset(window);
}

LRESULT WindowBase::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return ::DefWindowProcW(attached_, message, wparam, lparam);
}

LRESULT CALLBACK WindowBase::WindowProc(HWND window, UINT message, WPARAM wparam,
                                        LPARAM lparam) noexcept {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->attached_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<WindowBase*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(window, message, wparam, lparam);

  LRESULT result = 0;
  bool failed = true;
  CallGuarded([&] {
    result = self->HandleMessage(message, wparam, lparam);
    failed = false;
  });
  if (failed) result = self->FailedMessageResult(message);

  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->attached_ = nullptr;
    (void)self->handle_.release();  // the window is gone: nothing left to destroy
  }
  return result;
}

}  // namespace kestrune
