// Scopes for painting: BeginPaint/EndPaint, and a font selected into a device context that puts
// the previous font back.
#pragma once

#include "base/win32/prelude.h"

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

using FontSelection = ObjectSelection;

}  // namespace kestrune

namespace kestrune {

// The messages of a window that paints its whole client area itself: WM_PAINT and
// WM_PRINTCLIENT draw through `paint(dc)`, WM_ERASEBKGND is skipped since the painting covers
// everything. Returns true, with the message's result, when it was one of them.
template <typename Paint>
bool HandleSelfPaint(HWND window, UINT message, WPARAM wparam, LRESULT& result, Paint&& paint) {
  switch (message) {
    case WM_PAINT: {
      const PaintScope scope(window);
      paint(scope.dc());
      result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wparam));
      result = 0;
      return true;
    case WM_ERASEBKGND:
      result = 1;
      return true;
  }
  return false;
}

}  // namespace kestrune
