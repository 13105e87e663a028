#include "controls/hint_window.h"

#include <utility>

#include "base/win32/paint_scopes.h"

namespace kestrune {

HintRect DesktopRect() {
  const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  return {left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
          top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

THintWindow::THintWindow(HintKind kind) : kind_(std::move(kind)), font_(CreateHintFont(kind_)) {
  CreateWindowHandle(
      {.class_name = L"TsHintWindow",
       .style = WS_POPUP,
       .ex_style = WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE});
}

HintSize THintWindow::CalcHintRect(const std::wstring& text) const {
  return HintWindowSize(MeasureHintText(font_.get(), text, kind_), kind_);
}

void THintWindow::ActivateHint(HintPoint anchor, const std::wstring& text, bool animated) {
  balloon_.emplace(ComposeBalloon(kind_, font_.get(), text, anchor, DesktopRect()));
  text_ = text;
  const HintRect& window = balloon_->placement.window;
  picture_ = ScreenPicture(*balloon_, CaptureScreen(window));
  // The region keeps only what the picture shows, so where the screen cannot blend per-pixel
  // alpha nothing of the transparent rest appears as black. The window owns the region from here
  // on.
  UniqueRegion region = BalloonRegion(picture_);
  if (::SetWindowRgn(Handle(), region.get(), Visible())) (void)region.release();
  ::SetWindowPos(Handle(), HWND_TOPMOST, window.left, window.top, window.Width(), window.Height(),
                 SWP_NOACTIVATE);
  const std::uint8_t target = HintOpacity(kind_);
  if (Visible() || !animated) {
    UpdateImage(target);
    ::ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    return;
  }
  ++fade_ins_;
  UpdateImage(0);
  ::ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  for (const std::uint8_t opacity : FadeSteps(target)) {
    UpdateImage(opacity);
    ::Sleep(kHintFadeStepPauseMs);
  }
}

void THintWindow::ReleaseHint() {
  if (Visible()) ::ShowWindow(Handle(), SW_HIDE);
}

void THintWindow::UpdateImage(std::uint8_t opacity) {
  const HintRect& window = balloon_->placement.window;
  const UniqueMemoryDc memory(::CreateCompatibleDC(nullptr));
  if (!memory) return;
  const ObjectSelection selection(memory.get(), picture_.Handle());
  POINT position{window.left, window.top};
  SIZE size{window.Width(), window.Height()};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, opacity, AC_SRC_ALPHA};
  const WindowDcScope screen;
  ::UpdateLayeredWindow(Handle(), screen.dc(), &position, &size, memory.get(), &source, 0, &blend,
                        ULW_ALPHA);
}

LRESULT THintWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NCHITTEST:
      // The mouse reaches the window beneath, as if the hint were not there.
      return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
  }
  return WindowBase::HandleMessage(message, wparam, lparam);
}

}  // namespace kestrune
