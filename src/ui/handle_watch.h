// A call on the GUI thread once a kernel object (a process) is signalled. A thread-pool wait posts
// a message to a hidden window, so the call comes from whatever message loop runs (a modal box,
// a check's wait) and nothing polls.
#pragma once

#include "base/win32/prelude.h"

#include <functional>

#include "base/win32/unique_handle.h"
#include "ui/window_base.h"

namespace kestrune {

class HandleWatch final : private WindowBase {
 public:
  HandleWatch();
  ~HandleWatch() override;

  // Watches a duplicate of `object` (so the caller may close its own) and calls `on_signalled`
  // once it is signalled. A new watch replaces the last; false when the platform refuses it.
  bool Watch(HANDLE object, std::function<void()> on_signalled);
  // No call after this, not even one whose message is already on its way.
  void Stop();
  bool Watching() const { return bool(wait_); }

 private:
  struct Context {
    HWND window;
    WPARAM generation;
  };
  static void CALLBACK Signalled(void* context, BOOLEAN timed_out) noexcept;
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  UniqueHandle object_;
  Context context_{};
  WPARAM generation_ = 0;  // of the current watch; a message of an earlier one is ignored
  std::function<void()> on_signalled_;
  UniqueWait wait_;  // last: unregistered first, while everything its callback reads is there
};

}  // namespace kestrune
