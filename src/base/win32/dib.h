// A 32-bit top-down DIB section: row 0 is the top row, each pixel four bytes B, G, R, A.
#pragma once

#include "base/win32/prelude.h"

#include "base/win32/unique_handle.h"

namespace kestrune {

// The description of such a bitmap, for CreateDIBSection and GetDIBits.
inline BITMAPINFO TopDownDibInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// The bitmap, with `bits` pointing at its pixels; empty (and `bits` null) when the platform
// refuses.
inline UniqueBitmap CreateTopDownDib(int width, int height, void*& bits) {
  const BITMAPINFO info = TopDownDibInfo(width, height);
  bits = nullptr;
  UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) bits = nullptr;
  return bitmap;
}

}  // namespace kestrune
