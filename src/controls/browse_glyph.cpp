#include "controls/browse_glyph.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "base/exceptions.h"
#include "base/win32/dib.h"

namespace kestrune {
namespace {

// The document page, one character a pixel: X outline, w paper, - a line of text, f the folded
// corner, blank transparent.
constexpr std::array<std::string_view, kBrowseGlyphSize> kPage = {
    "                ",  //
    "  XXXXXXXXX     ",  //
    "  XwwwwwwwXX    ",  //
    "  XwwwwwwwXfX   ",  //
    "  XwwwwwwwXXXX  ",  //
    "  XwwwwwwwwwwX  ",  //
    "  Xw------wwwX  ",  //
    "  XwwwwwwwwwwX  ",  //
    "  Xw-------wwX  ",  //
    "  XwwwwwwwwwwX  ",  //
    "  Xw-------wwX  ",  //
    "  XwwwwwwwwwwX  ",  //
    "  Xw-----wwwwX  ",  //
    "  XwwwwwwwwwwX  ",  //
    "  XXXXXXXXXXXX  ",  //
    "                ",  //
};

constexpr bool PageIsSquare() {
  for (std::string_view row : kPage) {
    if (row.size() != kBrowseGlyphSize) return false;
  }
  return true;
}
static_assert(PageIsSquare());

struct FrameLook {
  COLORREF outline, paper, line, fold;
  int shift;  // the pressed page sits one pixel right and down
};
constexpr FrameLook kFrameLooks[] = {
    {RGB(96, 96, 96), RGB(224, 224, 224), RGB(128, 128, 128), RGB(176, 176, 176), 0},
    {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 84, 166), RGB(192, 192, 192), 0},
    {RGB(0, 0, 0), RGB(240, 240, 240), RGB(0, 84, 166), RGB(176, 176, 176), 1},
};
static_assert(std::size(kFrameLooks) == kBrowseGlyphFrames);
constexpr int kFrameCount = kBrowseGlyphFrames;

// 0x00RRGGBB, as a 32-bit DIB stores a pixel.
constexpr std::uint32_t DibPixel(COLORREF colour) {
  return (std::uint32_t(GetRValue(colour)) << 16) | (std::uint32_t(GetGValue(colour)) << 8) |
         GetBValue(colour);
}

}  // namespace

BrowseGlyph MakeBrowseGlyph() {
  BrowseGlyph glyph;
  UniqueBitmap& image = glyph.image;
  UniqueBitmap& mask = glyph.mask;
  constexpr int kSize = kBrowseGlyphSize;
  constexpr int kWidth = kSize * kFrameCount;
  void* bits = nullptr;
  image = CreateTopDownDib(kWidth, kSize, bits);
  if (!image || !bits) throw EOutOfResources("Error creating the browse glyph");
  auto* pixels = static_cast<std::uint32_t*>(bits);

  // Monochrome rows are padded to whole 16-bit words.
  constexpr int kMaskStride = (kWidth + 15) / 16 * 2;
  std::array<std::uint8_t, kMaskStride * kSize> mask_bits{};
  for (int frame = 0; frame < kFrameCount; ++frame) {
    const FrameLook& look = kFrameLooks[frame];
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        const int art_x = x - look.shift;
        const int art_y = y - look.shift;
        const char art = art_x < 0 || art_y < 0 ? ' ' : kPage[art_y][art_x];
        std::uint32_t pixel = 0;
        switch (art) {
          case 'X':
            pixel = DibPixel(look.outline);
            break;
          case 'w':
            pixel = DibPixel(look.paper);
            break;
          case '-':
            pixel = DibPixel(look.line);
            break;
          case 'f':
            pixel = DibPixel(look.fold);
            break;
        }
        const int column = frame * kSize + x;
        pixels[y * kWidth + column] = pixel;
        if (art == ' ') mask_bits[y * kMaskStride + column / 8] |= 0x80 >> (column % 8);
      }
    }
  }
  mask.reset(::CreateBitmap(kWidth, kSize, 1, 1, mask_bits.data()));
  if (!mask) throw EOutOfResources("Error creating the browse glyph");
  return glyph;
}

}  // namespace kestrune
