#include "controls/hint_balloon_drawing.h"

#include <algorithm>
#include <vector>

#include "base/exceptions.h"
#include "base/win32/dib.h"
#include "base/win32/ansi_text.h"
#include "base/win32/paint_scopes.h"

namespace kestrune {
namespace {

constexpr UINT kTextFormat = DT_WORDBREAK | DT_CENTER | DT_NOPREFIX;

constexpr Bgra kWhite = ToBgra(kClWhite);

// A memory DC compatible with the screen, with `bitmap` selected while it lives.
class DrawingDc {
 public:
  explicit DrawingDc(HBITMAP bitmap)
      : dc_(::CreateCompatibleDC(nullptr)), selection_(dc_.get(), bitmap) {
    if (!dc_) throw EOutOfResources("Out of system resources");
  }
  HDC get() const { return dc_.get(); }

 private:
  UniqueMemoryDc dc_;
  ObjectSelection selection_;
};

// A fill without outline: a solid brush and the null pen, each put back afterwards.
class FillTools {
 public:
  FillTools(HDC dc, Color color)
      : brush_(::CreateSolidBrush(color)),
        brush_selection_(dc, brush_.get()),
        pen_selection_(dc, ::GetStockObject(NULL_PEN)) {}

 private:
  UniqueBrush brush_;
  ObjectSelection brush_selection_;
  ObjectSelection pen_selection_;
};

void FillTriangle(HDC dc, const std::array<HintPoint, 3>& triangle) {
  const POINT points[3] = {{triangle[0].x, triangle[0].y},
                           {triangle[1].x, triangle[1].y},
                           {triangle[2].x, triangle[2].y}};
  ::Polygon(dc, points, 3);
}

// Black on white: the rounded body with its right and bottom edges, and the tail.
HintMask DrawMask(HintSize size, HintRect body, HintPoint tip, const HintKind& kind) {
  DibSection bitmap(size.width, size.height);
  bitmap.Fill(kWhite);
  {
    const DrawingDc dc(bitmap.Handle());
    const FillTools tools(dc.get(), kClBlack);
    ::RoundRect(dc.get(), body.left, body.top, body.right + 1, body.bottom + 1, kind.radius,
                kind.radius);
    FillTriangle(dc.get(), TailTriangle(body, tip));
    ::GdiFlush();
  }
  HintMask mask{size.width, size.height, {}};
  mask.inside.resize(std::size_t(size.width) * std::size_t(size.height));
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
      mask.inside[std::size_t(y) * std::size_t(size.width) + std::size_t(x)] =
          ToColor(bitmap.At(x, y)) == kClBlack ? 1 : 0;
    }
  }
  return mask;
}

void DrawContent(DibSection& content, const HintMask& mask, HintRect body, HFONT font,
                 std::wstring_view text, const HintKind& kind) {
  const std::vector<Color> rows = ContentRows(kind, content.Height());
  for (int y = 0; y < content.Height(); ++y) {
    const Bgra pixel = ToBgra(rows[std::size_t(y)]);
    for (int x = 0; x < content.Width(); ++x) content.At(x, y) = pixel;
  }
  {
    const DrawingDc dc(content.Handle());
    const ObjectSelection font_selection(dc.get(), font);
    ::SetBkMode(dc.get(), TRANSPARENT);
    ::SetTextColor(dc.get(), kind.font_color);
    const HintRect area = HintTextRect(body, kind);
    RECT rect{area.left, area.top, area.right, area.bottom};
    // The measured width is the sum of the advances; a last glyph that reaches past its advance
    // would lose its edge to clipping, so the text draws unclipped into the margin.
    ::DrawTextW(dc.get(), text.data(), int(text.size()), &rect, kTextFormat | DT_NOCLIP);
    ::GdiFlush();
  }
  if (kind.bevel_width <= 0) return;
  const std::vector<BorderSide> border = BorderMap(mask);
  for (int y = 0; y < content.Height(); ++y) {
    for (int x = 0; x < content.Width(); ++x) {
      const BorderSide side =
          border[std::size_t(y) * std::size_t(content.Width()) + std::size_t(x)];
      if (side == BorderSide::kTop) content.At(x, y) = ToBgra(kind.color_border_top);
      if (side == BorderSide::kBottom) content.At(x, y) = ToBgra(kind.color_border_bottom);
    }
  }
}

void DrawShadow(DibSection& shadow, const HintPlacement& placement, const HintKind& kind) {
  shadow.Fill(kWhite);
  const HintSize size{shadow.Width(), shadow.Height()};
  const DrawingDc dc(shadow.Handle());
  for (const ShadowRing& ring : ShadowRings(size, placement.corner, placement.tip, kind)) {
    const FillTools tools(dc.get(), RgbColor(ring.grey, ring.grey, ring.grey));
    ::RoundRect(dc.get(), ring.body.left, ring.body.top, ring.body.right, ring.body.bottom,
                kind.radius, kind.radius);
    FillTriangle(dc.get(), ring.tail);
  }
  ::GdiFlush();
}

}  // namespace

DibSection::DibSection(int width, int height) : width_(width), height_(height) {
  void* bits = nullptr;
  bitmap_ = CreateTopDownDib(width, height, bits);
  if (!bitmap_ || !bits) throw EOutOfResources("Out of system resources");
  pixels_ = static_cast<Bgra*>(bits);
}

void DibSection::Fill(Bgra pixel) {
  std::fill(pixels_, pixels_ + std::size_t(width_) * std::size_t(height_), pixel);
}

UniqueFont CreateHintFont(const HintKind& kind) {
  const std::wstring face = AnsiToWide(kind.font_name);
  UniqueFont font(::CreateFontW(kind.font_height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
  if (!font) throw EOutOfResources("Out of system resources");
  return font;
}

HintSize MeasureHintText(HFONT font, std::wstring_view text, const HintKind& kind) {
  const UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  if (!dc) throw EOutOfResources("Out of system resources");
  const ObjectSelection selection(dc.get(), font);
  RECT rect{0, 0, kind.max_width, 0};
  ::DrawTextW(dc.get(), text.data(), int(text.size()), &rect, kTextFormat | DT_CALCRECT);
  return {int(rect.right - rect.left), int(rect.bottom - rect.top)};
}

ComposedBalloon ComposeBalloon(const HintKind& kind, HFONT font, std::wstring_view text,
                               HintPoint anchor, HintRect desktop) {
  ComposedBalloon balloon;
  const HintSize size = HintWindowSize(MeasureHintText(font, text, kind), kind);
  balloon.placement = PlaceHint(anchor, size, desktop);
  balloon.body = HintBodyRect(size, balloon.placement.corner, kind);
  balloon.mask = DrawMask(size, balloon.body, balloon.placement.tip, kind);

  balloon.content = DibSection(size.width, size.height);
  DrawContent(balloon.content, balloon.mask, balloon.body, font, text, kind);

  balloon.shadow = DibSection(size.width, size.height);
  DrawShadow(balloon.shadow, balloon.placement, kind);
  balloon.working = DibSection(size.width, size.height);
  balloon.image = DibSection(size.width, size.height);
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
      const Bgra shadow = balloon.shadow.At(x, y);
      balloon.working.At(x, y) = MultiplyShadow(kWhite, shadow);
      balloon.image.At(x, y) =
          CompositePixel(balloon.mask.Inside(x, y), balloon.content.At(x, y), shadow);
    }
  }
  return balloon;
}

DibSection ScreenPicture(const ComposedBalloon& balloon, const DibSection& beneath) {
  const HintSize size = balloon.Size();
  DibSection picture(size.width, size.height);
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
      const Bgra shadow = balloon.shadow.At(x, y);
      Bgra pixel = balloon.image.At(x, y);
      if (!balloon.mask.Inside(x, y) && shadow.b < 255) {
        pixel = MultiplyShadow(beneath.At(x, y), shadow);
        pixel.a = 255;
      }
      picture.At(x, y) = pixel;
    }
  }
  return picture;
}

DibSection CaptureScreen(HintRect area) {
  DibSection captured(area.Width(), area.Height());
  captured.Fill(kWhite);
  const WindowDcScope screen;
  if (!screen.dc()) return captured;
  const DrawingDc dc(captured.Handle());
  ::BitBlt(dc.get(), 0, 0, area.Width(), area.Height(), screen.dc(), area.left, area.top, SRCCOPY);
  ::GdiFlush();
  return captured;
}

UniqueRegion BalloonRegion(const DibSection& image) {
  // One rectangle per run of shown pixels in a row.
  std::vector<RECT> runs;
  for (int y = 0; y < image.Height(); ++y) {
    int x = 0;
    while (x < image.Width()) {
      while (x < image.Width() && image.At(x, y).a == 0) ++x;
      const int start = x;
      while (x < image.Width() && image.At(x, y).a != 0) ++x;
      if (x > start) runs.push_back({start, y, x, y + 1});
    }
  }
  std::vector<char> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
  auto& header = *reinterpret_cast<RGNDATAHEADER*>(data.data());
  header.dwSize = sizeof(RGNDATAHEADER);
  header.iType = RDH_RECTANGLES;
  header.nCount = DWORD(runs.size());
  header.nRgnSize = DWORD(runs.size() * sizeof(RECT));
  header.rcBound = {0, 0, image.Width(), image.Height()};
  std::copy(runs.begin(), runs.end(), reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER)));
  UniqueRegion region(::ExtCreateRegion(nullptr, DWORD(data.size()),
                                        reinterpret_cast<const RGNDATA*>(data.data())));
  if (!region) throw EOutOfResources("Out of system resources");
  return region;
}

}  // namespace kestrune
