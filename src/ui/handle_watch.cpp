#include "ui/handle_watch.h"

#include <utility>

namespace kestrune {
namespace {
constexpr UINT kSignalledMessage = WM_APP + 1;
}  // namespace

HandleWatch::HandleWatch() {
  CreateWindowHandle({.class_name = L"KestruneHandleWatch", .parent = HWND_MESSAGE});
}

HandleWatch::~HandleWatch() {
  Stop();
}

bool HandleWatch::Watch(HANDLE object, std::function<void()> on_signalled) {
  Stop();
  HANDLE duplicate = nullptr;
  if (!::DuplicateHandle(::GetCurrentProcess(), object, ::GetCurrentProcess(), &duplicate,
                         SYNCHRONIZE, FALSE, 0)) {
    return false;
  }
  object_.reset(duplicate);
  on_signalled_ = std::move(on_signalled);
  context_ = {Handle(), ++generation_};
  HANDLE wait = nullptr;
  if (!::RegisterWaitForSingleObject(&wait, object_.get(), &HandleWatch::Signalled, &context_,
                                     INFINITE, WT_EXECUTEONLYONCE)) {
    Stop();
    return false;
  }
  wait_.reset(wait);
  return true;
}

void HandleWatch::Stop() {
  wait_.reset();  // waits for a callback under way: after this none runs
  ++generation_;  // and a message one posted is ignored
  object_.reset();
  on_signalled_ = nullptr;
}

void CALLBACK HandleWatch::Signalled(void* context, BOOLEAN) noexcept {
  const auto& watch = *static_cast<const Context*>(context);
  ::PostMessageW(watch.window, kSignalledMessage, watch.generation, 0);
}

LRESULT HandleWatch::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != kSignalledMessage) return WindowBase::HandleMessage(message, wparam, lparam);
  if (wparam != generation_ || !wait_) return 0;
  const std::function<void()> on_signalled = std::move(on_signalled_);
  Stop();
  // The callback may watch again.
  if (on_signalled) on_signalled();
  return 0;
}

}  // namespace kestrune
