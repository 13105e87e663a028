// Reading the clipboard: the clipboard open for the scope, and a global memory block locked for
// the scope.
#pragma once

#include "base/win32/prelude.h"

namespace kestrune {

class ClipboardScope {
 public:
  explicit ClipboardScope(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
  ~ClipboardScope() {
    if (open_) ::CloseClipboard();
  }
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;
  bool open() const { return open_; }

 private:
  bool open_;
};

class GlobalLockScope {
 public:
  explicit GlobalLockScope(HGLOBAL memory)
      : memory_(memory), data_(memory ? ::GlobalLock(memory) : nullptr) {}
  ~GlobalLockScope() {
    if (data_) ::GlobalUnlock(memory_);
  }
  GlobalLockScope(const GlobalLockScope&) = delete;
  GlobalLockScope& operator=(const GlobalLockScope&) = delete;
  const void* data() const { return data_; }

 private:
  HGLOBAL memory_;
  void* data_;
};

}  // namespace kestrune
