#include "controls/standard_controls.h"

#include <algorithm>
#include <cstdint>

#include "base/win32/dib.h"
#include "base/win32/paint_scopes.h"

namespace kestrune {
namespace {

// How far right the caption's ink reaches when drawn at 0: the platform may draw a glyph past
// the advance widths the text extent adds up (Wine does so by several pixels for some fonts).
int InkRight(HDC reference, HFONT font, const std::wstring& text, SIZE extent) {
  const int width = extent.cx + extent.cy * 2;
  const int height = extent.cy;
  if (text.empty() || width <= 0 || height <= 0) return 0;
  void* bits = nullptr;
  const UniqueBitmap bitmap = CreateTopDownDib(width, height, bits);
  const UniqueMemoryDc memory(::CreateCompatibleDC(reference));
  if (!bitmap || !memory || !bits) return 0;
  const ObjectSelection selected_bitmap(memory.get(), bitmap.get());
  const ObjectSelection selected_font(memory.get(), font);
  auto* pixels = static_cast<std::uint32_t*>(bits);
  std::fill(pixels, pixels + width * height, 0x00FFFFFFu);
  ::SetBkMode(memory.get(), TRANSPARENT);
  ::SetTextColor(memory.get(), RGB(0, 0, 0));
  ::TextOutW(memory.get(), 0, 0, text.c_str(), int(text.size()));
  ::GdiFlush();
  int right = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = width - 1; x >= right; --x) {
      if ((pixels[y * width + x] & 0x00FFFFFFu) != 0x00FFFFFFu) {
        right = x + 1;
        break;
      }
    }
  }
  return right;
}

// The caption's size in the control's font: the text extent, widened to where its ink ends.
SIZE CaptionSize(HWND control, const std::wstring& text) {
  const WindowDcScope screen(control);
  const HFONT font = FontOf(control);
  const ObjectSelection selected(screen.dc(), font);
  SIZE size{};
  ::GetTextExtentPoint32W(screen.dc(), text.c_str(), int(text.size()), &size);
  size.cx = std::max<LONG>(size.cx, InkRight(screen.dc(), font, text, size));
  return size;
}

void Resize(HWND control, int width, int height) {
  ::SetWindowPos(control, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int HeightOf(HWND control) {
  RECT bounds;
  ::GetWindowRect(control, &bounds);
  return bounds.bottom - bounds.top;
}

ButtonLook LookOf(const DRAWITEMSTRUCT& item, bool hot) {
  return {.hot = hot,
          .pressed = (item.itemState & ODS_SELECTED) != 0,
          .focused = (item.itemState & ODS_FOCUS) != 0,
          .disabled = (item.itemState & ODS_DISABLED) != 0};
}

}  // namespace

int CaptionWidth(HWND control, const std::wstring& text) {
  return CaptionSize(control, text).cx;
}

TButton::TButton(HWND parent, const ControlPlacement& placement)
    : TControl(parent, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, placement) {
  Subclass();
}

void TButton::SetSkin(const SkinPainter* skin) {
  TControl::SetSkin(skin);
  ::SendMessageW(Handle(), BM_SETSTYLE, skin ? BS_OWNERDRAW : BS_PUSHBUTTON, TRUE);
}

bool TButton::DrawItem(const DRAWITEMSTRUCT& item) {
  if (!Skin()) return false;
  Skin()->PaintPushButton(item.hDC, item.rcItem, WideText(), FontOf(Handle()),
                          LookOf(item, hot_.Hot()));
  return true;
}

LRESULT TButton::WindowMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (hot_.Follow(Handle(), message) && Skin()) ::InvalidateRect(Handle(), nullptr, FALSE);
  return TControl::WindowMessage(message, wparam, lparam);
}

HBRUSH TLabel::CtlColor(HDC dc) {
  if (!Skin()) return nullptr;
  ::SetBkMode(dc, TRANSPARENT);
  return Skin()->TextColors(dc, kLabelText);
}

void TLabel::AutoSize() {
  const SIZE size = CaptionSize(Handle(), WideText());
  Resize(Handle(), size.cx, std::max<int>(HeightOf(Handle()), size.cy));
}

void TCheckBox::SetSkin(const SkinPainter* skin) {
  const bool checked = Checked();
  TControl::SetSkin(skin);
  checked_ = checked;
  ::SendMessageW(Handle(), BM_SETSTYLE, skin ? BS_OWNERDRAW : BS_CHECKBOX, TRUE);
  if (!skin) ::SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCheckBox::DrawItem(const DRAWITEMSTRUCT& item) {
  if (!Skin()) return false;
  Skin()->PaintCheckBox(item.hDC, item.rcItem, WideText(), FontOf(Handle()), checked_,
                        LookOf(item, hot_.Hot()));
  return true;
}

HBRUSH TCheckBox::CtlColor(HDC dc) {
  if (!Skin()) return nullptr;
  ::SetBkMode(dc, TRANSPARENT);
  return Skin()->TextColors(dc, kCheckBoxText);
}

void TCheckBox::AutoSize() {
  Resize(Handle(), CheckBoxWidthFor(CaptionWidth(Handle(), WideText())), HeightOf(Handle()));
}

LRESULT TCheckBox::WindowMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (Skin()) {
    // An owner-drawn button keeps no check state: the box keeps it.
    switch (message) {
      case BM_GETCHECK:
        return checked_ ? BST_CHECKED : BST_UNCHECKED;
      case BM_SETCHECK:
        if (checked_ != (wparam == BST_CHECKED)) {
          checked_ = wparam == BST_CHECKED;
          ::InvalidateRect(Handle(), nullptr, FALSE);
        }
        return 0;
    }
  }
  if (hot_.Follow(Handle(), message) && Skin()) ::InvalidateRect(Handle(), nullptr, FALSE);
  return TControl::WindowMessage(message, wparam, lparam);
}

}  // namespace kestrune
