#include "controls/skinned_controls.h"

#include <commctrl.h>

#include "base/win32/ansi_text.h"
#include "base/win32/paint_scopes.h"

namespace kestrune {
namespace {

// The text's margins: a little space on the left, and on the right room for the size grip (18
// pixels) with a gap before it.
constexpr int kStatusTextLeft = 3;
constexpr int kSizeGripWidth = 18;
constexpr int kStatusTextGap = 6;

}  // namespace

TsEdit::TsEdit(HWND parent, const ControlPlacement& placement, DWORD extra_style)
    : TEdit(parent, placement, extra_style), background_(::CreateSolidBrush(kClBlack)) {}

HBRUSH TsEdit::CtlColor(HDC dc) {
  if (Skin()) return Skin()->TextColors(dc, kFieldText);
  ::SetTextColor(dc, kClSilver);
  ::SetBkColor(dc, kClBlack);
  return background_.get();
}

bool TsEdit::ReadOnly() const {
  return (::GetWindowLongW(Handle(), GWL_STYLE) & ES_READONLY) != 0;
}

void TsEdit::SetReadOnly(bool read_only) {
  ::SendMessageW(Handle(), EM_SETREADONLY, read_only, 0);
}

void TsEdit::SetSkin(const SkinPainter* skin) {
  if (!Subclassed()) Subclass();
  TEdit::SetSkin(skin);
}

LRESULT TsEdit::WindowMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCPAINT && Skin()) {
    const WindowFrameDcScope frame(Handle());
    RECT bounds;
    ::GetWindowRect(Handle(), &bounds);
    ::OffsetRect(&bounds, -bounds.left, -bounds.top);
    Skin()->PaintFieldFrame(frame.dc(), bounds);
    return 0;
  }
  if (!HasInnerButton()) return TEdit::WindowMessage(message, wparam, lparam);
  switch (message) {
    case WM_SETFOCUS: {
      const LRESULT result = TEdit::WindowMessage(message, wparam, lparam);
      ::SendMessageW(Handle(), EM_SETSEL, 0, -1);
      return result;
    }
    case WM_SIZE:
    case WM_SETFONT: {
      const LRESULT result = TEdit::WindowMessage(message, wparam, lparam);
      LayoutInnerButton();
      return result;
    }
  }
  return TEdit::WindowMessage(message, wparam, lparam);
}

HBRUSH TsLabel::CtlColor(HDC dc) {
  ::SetBkMode(dc, TRANSPARENT);
  if (Skin()) return Skin()->TextColors(dc, kCaptionText);
  ::SetTextColor(dc, kClSilver);
  return ::GetSysColorBrush(COLOR_BTNFACE);
}

TsStatusBar::TsStatusBar(HWND parent, const ControlPlacement& placement)
    : TControl(parent, STATUSCLASSNAMEW, SBARS_SIZEGRIP | CCS_BOTTOM, 0, placement) {
  Subclass();
}

void TsStatusBar::SetSimpleText(const std::string& text) {
  if (text == simple_text_) return;
  simple_text_ = text;
  // Repaint now: the text must show even while the handler that set it keeps the thread busy.
  ::InvalidateRect(Handle(), nullptr, TRUE);
  ::UpdateWindow(Handle());
}

void TsStatusBar::Paint(HDC dc) {
  RECT client;
  ::GetClientRect(Handle(), &client);
  const HFONT bar_font = FontOf(Handle());
  if (Skin()) {
    Skin()->PaintStatusBar(dc, client, AnsiToWide(simple_text_), bar_font, kStatusTextLeft,
                           kStatusTextGap + kSizeGripWidth);
    return;
  }
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
  RECT text = client;
  text.left += kStatusTextLeft;
  text.right -= kStatusTextGap + kSizeGripWidth;
  const ObjectSelection font(dc, bar_font);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
  const std::wstring wide = AnsiToWide(simple_text_);
  ::DrawTextW(dc, wide.c_str(), int(wide.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
  RECT grip = client;
  grip.left = grip.right - ::GetSystemMetrics(SM_CXVSCROLL);
  grip.top = grip.bottom - ::GetSystemMetrics(SM_CYHSCROLL);
  ::DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

LRESULT TsStatusBar::WindowMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  const auto paint = [this](HDC dc) { Paint(dc); };
  if (const auto painted = HandleSelfPaint(Handle(), message, wparam, paint)) return *painted;
  switch (message) {
    // Reading the text back: what the bar shows.
    case SB_GETTEXTLENGTHW:
      return AnsiToWide(simple_text_).size();
    case SB_GETTEXTW: {
      const std::wstring wide = AnsiToWide(simple_text_);
      if (lparam) ::lstrcpyW(reinterpret_cast<wchar_t*>(lparam), wide.c_str());
      return wide.size();
    }
  }
  return TControl::WindowMessage(message, wparam, lparam);
}

}  // namespace kestrune
