// The browse button's glyph: a document page in three frames (normal, hot, pressed) side by side.
#pragma once

#include "base/win32/prelude.h"

#include "base/win32/unique_handle.h"

namespace kestrune {

inline constexpr int kBrowseGlyphSize = 16;
inline constexpr int kBrowseGlyphFrames = 3;

struct BrowseGlyph {
  // The frames' colours, black where the page is transparent so it ORs onto a masked background.
  UniqueBitmap image;
  // The same size, one bit a pixel: set where the page is transparent.
  UniqueBitmap mask;
};

// Raises EOutOfResources when the platform refuses the bitmaps.
BrowseGlyph MakeBrowseGlyph();

}  // namespace kestrune
