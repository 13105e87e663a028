#include "ui/window_base.h"

#include <utility>

#include "base/exceptions.h"

namespace kestrune {
namespace {

// The object whose window CreateWindowExW is making on this thread. The first message of a new
// window (WM_GETMINMAXINFO comes before WM_NCCREATE) adopts the window for it.
thread_local WindowBase* t_creating = nullptr;

class CreatingScope {
 public:
  explicit CreatingScope(WindowBase* object) : previous_(std::exchange(t_creating, object)) {}
  ~CreatingScope() { t_creating = previous_; }
  CreatingScope(const CreatingScope&) = delete;
  CreatingScope& operator=(const CreatingScope&) = delete;

 private:
  WindowBase* previous_;
};

}  // namespace

WindowBase::~WindowBase() {
  if (window_) ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

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
  const CreatingScope creating(this);
  ::CreateWindowExW(params.ex_style, params.class_name, params.title, params.style, params.x,
                    params.y, params.width, params.height, params.parent, params.menu, instance,
                    this);
  if (!window_) throw EOutOfResources("Error creating window");
}

LRESULT WindowBase::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return ::DefWindowProcW(Handle(), message, wparam, lparam);
}

LRESULT CALLBACK WindowBase::WindowProc(HWND window, UINT message, WPARAM wparam,
                                        LPARAM lparam) noexcept {
  auto* self = reinterpret_cast<WindowBase*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self && t_creating && !t_creating->window_) {
    self = t_creating;
    self->window_.reset(window);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return ::DefWindowProcW(window, message, wparam, lparam);

  const LRESULT result =
      GuardedMessage([&] { return self->HandleMessage(message, wparam, lparam); }, 0);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    (void)self->window_.release();  // the window is gone: nothing left to destroy
  }
  return result;
}

}  // namespace kestrune
