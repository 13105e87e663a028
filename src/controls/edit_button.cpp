#include "controls/edit_button.h"

#include "base/win32/paint_scopes.h"

namespace kestrune {
namespace {

bool InsideClient(HWND window, LPARAM point) {
  RECT client;
  ::GetClientRect(window, &client);
  const POINT at{short(LOWORD(point)), short(HIWORD(point))};
  return ::PtInRect(&client, at) != FALSE;
}

}  // namespace

TsEditButton::TsEditButton(HWND parent) : glyph_(MakeBrowseGlyph()) {
  CreateWindowHandle({.class_name = L"KestruneEditButton",
                      .style = WS_CHILD | WS_VISIBLE,
                      .ex_style = WS_EX_NOPARENTNOTIFY,
                      .parent = parent});
}

void TsEditButton::SetState(bool hot, bool pressed) {
  if (hot == hot_ && pressed == pressed_) return;
  hot_ = hot;
  pressed_ = pressed;
  ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TsEditButton::SetSkin(const SkinPainter* skin) {
  skin_ = skin;
  ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TsEditButton::Paint(HDC dc) {
  RECT client;
  ::GetClientRect(Handle(), &client);
  if (skin_) {
    skin_->PaintInnerButton(dc, client, {.hot = hot_, .pressed = pressed_});
  } else {
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    if (pressed_) {
      ::DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
    } else if (hot_) {
      ::DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
    }
  }
  const Frame frame = pressed_ ? kPressed : hot_ ? kHot : kNormal;
  const int x = (client.right - kBrowseGlyphSize) / 2;
  const int y = (client.bottom - kBrowseGlyphSize) / 2;
  const UniqueMemoryDc memory(::CreateCompatibleDC(dc));
  if (!memory) return;
  // The mask clears the page's pixels (bits of 0 become the text colour, black) and keeps the
  // background; the image, black where transparent, is then ORed in.
  ::SetTextColor(dc, RGB(0, 0, 0));
  ::SetBkColor(dc, RGB(255, 255, 255));
  {
    const ObjectSelection selected(memory.get(), glyph_.mask.get());
    ::BitBlt(dc, x, y, kBrowseGlyphSize, kBrowseGlyphSize, memory.get(), frame * kBrowseGlyphSize,
             0, SRCAND);
  }
  const ObjectSelection selected(memory.get(), glyph_.image.get());
  ::BitBlt(dc, x, y, kBrowseGlyphSize, kBrowseGlyphSize, memory.get(), frame * kBrowseGlyphSize, 0,
           SRCPAINT);
}

LRESULT TsEditButton::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  const auto paint = [this](HDC dc) { Paint(dc); };
  if (const auto painted = HandleSelfPaint(Handle(), message, wparam, paint)) return *painted;
  switch (message) {
    case WM_MOUSEMOVE:
      if (::GetCapture() == Handle()) {
        SetState(true, InsideClient(Handle(), lparam));
      } else if (!hot_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
        ::TrackMouseEvent(&track);
        SetState(true, false);
      }
      return 0;
    case WM_MOUSELEAVE:
      SetState(false, pressed_);
      return 0;
    case WM_LBUTTONDOWN:
      ::SetCapture(Handle());
      hints_off_.emplace();
      SetState(hot_, true);
      return 0;
    case WM_LBUTTONUP:
      if (::GetCapture() == Handle()) {
        const bool inside = InsideClient(Handle(), lparam);
        ::ReleaseCapture();
        if (inside && OnClick) OnClick();
      }
      return 0;
    case WM_CAPTURECHANGED:
      hints_off_.reset();
      SetState(hot_, false);
      return 0;
  }
  return WindowBase::HandleMessage(message, wparam, lparam);
}

}  // namespace kestrune
