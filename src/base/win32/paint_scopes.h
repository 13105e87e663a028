// Scopes for painting: BeginPaint/EndPaint, a window's device context from GetDC, and an object
// selected into a device context that puts the previous object back.
#pragma once

#include "base/win32/prelude.h"

#include <optional>

namespace kestrune {

class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
  ~PaintScope() { ::EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return dc_; }
  const PAINTSTRUCT& info() const { return paint_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// GetDC/ReleaseDC: the window's client area, or the whole screen for no window.
class WindowDcScope {
 public:
  explicit WindowDcScope(HWND window = nullptr) : window_(window), dc_(::GetDC(window)) {}
  ~WindowDcScope() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  WindowDcScope(const WindowDcScope&) = delete;
  WindowDcScope& operator=(const WindowDcScope&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// GetWindowDC/ReleaseDC: the whole window, frame included, for painting the non-client area.
class WindowFrameDcScope {
 public:
  explicit WindowFrameDcScope(HWND window) : window_(window), dc_(::GetWindowDC(window)) {}
  ~WindowFrameDcScope() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  WindowFrameDcScope(const WindowFrameDcScope&) = delete;
  WindowFrameDcScope& operator=(const WindowFrameDcScope&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

class ObjectSelection {
 public:
  ObjectSelection(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(object ? ::SelectObject(dc, object) : nullptr) {}
  ~ObjectSelection() {
    if (previous_) ::SelectObject(dc_, previous_);
  }
  ObjectSelection(const ObjectSelection&) = delete;
  ObjectSelection& operator=(const ObjectSelection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// The messages of a window that paints its whole client area itself: WM_PAINT and
// WM_PRINTCLIENT draw through `paint(dc)`, WM_ERASEBKGND is skipped since the painting covers
// everything. The message's result when it was one of them, nothing otherwise.
template <typename Paint>
std::optional<LRESULT> HandleSelfPaint(HWND window, UINT message, WPARAM wparam, Paint&& paint) {
  switch (message) {
    case WM_PAINT: {
      const PaintScope scope(window);
      paint(scope.dc());
      return 0;
    }
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
  }
  return std::nullopt;
}

}  // namespace kestrune
