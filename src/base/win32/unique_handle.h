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

struct GdiObjectTraits {
  using Value = HGDIOBJ;
  static Value Invalid() { return nullptr; }
  static void Close(Value object) { ::DeleteObject(object); }
};

struct MenuTraits {
  using Value = HMENU;
  static Value Invalid() { return nullptr; }
  static void Close(Value menu) { ::DestroyMenu(menu); }
};

using UniqueHandle = UniqueAny<KernelHandleTraits>;
using UniqueGdiObject = UniqueAny<GdiObjectTraits>;
using UniqueMenu = UniqueAny<MenuTraits>;
using UniqueFile = UniqueAny<FileHandleTraits>;
using UniqueHwnd = UniqueAny<WindowTraits>;

}  // namespace kestrune
