// Owning wrappers for platform handles: one template, one traits type per handle kind giving its
// "no handle" value and the function that closes it.
#pragma once

#include "base/win32/prelude.h"

#include <utility>

namespace kestrune {

template <typename Traits>
class UniqueAny {
 public:
  using Value = typename Traits::Value;

  UniqueAny() = default;
  explicit UniqueAny(Value value) : value_(value) {}
  ~UniqueAny() { reset(); }
  UniqueAny(const UniqueAny&) = delete;
  UniqueAny& operator=(const UniqueAny&) = delete;
  UniqueAny(UniqueAny&& other) noexcept : value_(other.release()) {}
  UniqueAny& operator=(UniqueAny&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Value get() const { return value_; }
  explicit operator bool() const { return value_ != Traits::Invalid(); }

  void reset(Value value = Traits::Invalid()) {
    const Value old = std::exchange(value_, value);
    if (old != Traits::Invalid()) Traits::Close(old);
  }
  [[nodiscard]] Value release() { return std::exchange(value_, Traits::Invalid()); }

 private:
  Value value_ = Traits::Invalid();
};

struct KernelHandleTraits {
  using Value = HANDLE;
  static Value Invalid() { return nullptr; }
  static void Close(Value handle) { ::CloseHandle(handle); }
};

// CreateFile's handles, whose "no handle" value is INVALID_HANDLE_VALUE.
struct FileHandleTraits {
  using Value = HANDLE;
  static Value Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Value handle) { ::CloseHandle(handle); }
};

struct WindowTraits {
  using Value = HWND;
  static Value Invalid() { return nullptr; }
  static void Close(Value window) { ::DestroyWindow(window); }
};

// GDI objects of one kind, so call sites never cast from HGDIOBJ.
template <typename Object>
struct GdiObjectTraits {
  using Value = Object;
  static Value Invalid() { return nullptr; }
  static void Close(Value object) { ::DeleteObject(object); }
};

struct MenuTraits {
  using Value = HMENU;
  static Value Invalid() { return nullptr; }
  static void Close(Value menu) { ::DestroyMenu(menu); }
};

// An icon made by the process (CopyIcon, CreateIconIndirect); never one that LoadIcon shares.
struct IconTraits {
  using Value = HICON;
  static Value Invalid() { return nullptr; }
  static void Close(Value icon) { ::DestroyIcon(icon); }
};

// A memory device context from CreateCompatibleDC.
struct MemoryDcTraits {
  using Value = HDC;
  static Value Invalid() { return nullptr; }
  static void Close(Value dc) { ::DeleteDC(dc); }
};

// A thread-pool wait from RegisterWaitForSingleObject; closing it waits for a callback under way.
struct WaitRegistrationTraits {
  using Value = HANDLE;
  static Value Invalid() { return nullptr; }
  static void Close(Value wait) { ::UnregisterWaitEx(wait, INVALID_HANDLE_VALUE); }
};

// A hook of SetWindowsHookEx.
struct HookTraits {
  using Value = HHOOK;
  static Value Invalid() { return nullptr; }
  static void Close(Value hook) { ::UnhookWindowsHookEx(hook); }
};

using UniqueHandle = UniqueAny<KernelHandleTraits>;
using UniqueWait = UniqueAny<WaitRegistrationTraits>;
using UniqueFile = UniqueAny<FileHandleTraits>;
using UniqueHwnd = UniqueAny<WindowTraits>;
using UniqueMenu = UniqueAny<MenuTraits>;
using UniqueFont = UniqueAny<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueAny<GdiObjectTraits<HBRUSH>>;
using UniqueBitmap = UniqueAny<GdiObjectTraits<HBITMAP>>;
using UniqueRegion = UniqueAny<GdiObjectTraits<HRGN>>;
using UniqueIcon = UniqueAny<IconTraits>;
using UniqueMemoryDc = UniqueAny<MemoryDcTraits>;
using UniqueHook = UniqueAny<HookTraits>;

}  // namespace kestrune
