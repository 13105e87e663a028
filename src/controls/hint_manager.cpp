#include "controls/hint_manager.h"

#include <algorithm>
#include <vector>

#include "base/exceptions.h"
#include "base/win32/dib.h"

namespace kestrune {
namespace {

constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kHideTimer = 2;

// The manager whose hook runs on this thread.
thread_local TsHintManager* t_manager = nullptr;

bool CancelsHint(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return true;
  }
  return false;
}

// The rows of a cursor bitmap, top-down, 32 bits per pixel.
std::vector<DWORD> BitmapRows(HBITMAP bitmap, int width, int height) {
  std::vector<DWORD> pixels(std::size_t(width) * std::size_t(height));
  BITMAPINFO info = TopDownDibInfo(width, height);
  const UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  if (!dc || ::GetDIBits(dc.get(), bitmap, 0, UINT(height), pixels.data(), &info, DIB_RGB_COLORS) !=
                 height) {
    pixels.clear();
  }
  return pixels;
}

}  // namespace

TsHintManager::TsHintManager() {
  CreateWindowHandle({.class_name = L"TsHintManager", .parent = HWND_MESSAGE});
}

TsHintManager::~TsHintManager() {
  hook_.reset();
  if (t_manager == this) t_manager = nullptr;
}

void TsHintManager::SetHint(HWND control, std::wstring text) {
  if (text.empty()) {
    hints_.erase(control);
    if (control == hint_control_) CancelHint();
    return;
  }
  hints_[control] = std::move(text);
}

void TsHintManager::Loaded() {
  if (SkinSection.empty()) SkinSection = "HINT";
  // Only the comic balloon is drawn; no preset changes the settings for shCustom, and the
  // ellipse preset is not used by any window.
  if (t_manager && t_manager != this) throw Exception("A hint manager is already installed");
  hook_.reset(::SetWindowsHookExW(WH_GETMESSAGE, &TsHintManager::GetMessageHook, nullptr,
                                  ::GetCurrentThreadId()));
  if (!hook_) throw EOutOfResources("Out of system resources");
  t_manager = this;
  switch_listener_.emplace([this](bool on) {
    if (!on) CancelHint();
  });
}

LRESULT CALLBACK TsHintManager::GetMessageHook(int code, WPARAM wparam, LPARAM lparam) noexcept {
  // Each message is seen once, when it is taken off the queue.
  if (code == HC_ACTION && wparam == PM_REMOVE && t_manager) {
    const MSG& message = *reinterpret_cast<const MSG*>(lparam);
    CallGuarded([&] { t_manager->HintMouseMessage(message); });
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

void TsHintManager::HintMouseMessage(const MSG& message) {
  if (message.message == WM_MOUSELEAVE) {
    if (message.hwnd == hint_control_) CancelHint();
  } else if (message.message == WM_MOUSEMOVE || message.message == WM_NCMOUSEMOVE) {
    MouseMoved(message.hwnd);
  } else if (CancelsHint(message.message)) {
    CancelHint();
  }
}

HWND TsHintManager::HintControlOf(HWND window) const {
  // The control itself, or the control that holds it.
  for (HWND at = window; at; at = ::GetParent(at)) {
    if (hints_.contains(at)) return at;
    if (!(::GetWindowLongW(at, GWL_STYLE) & WS_CHILD)) break;
  }
  return nullptr;
}

void TsHintManager::MouseMoved(HWND window) {
  const HWND control = HintsOn() ? HintControlOf(window) : nullptr;
  if (!control) {
    CancelHint();
    return;
  }
  if (control == hint_control_) return;
  // Moving on from a control whose hint shows: the next comes after the short pause, and the
  // balloon stays until it does.
  hint_control_ = control;
  hide_timer_.reset();
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, control, 0};
  ::TrackMouseEvent(&track);
  ArmTimer(show_timer_, Handle(), kShowTimer,
           UINT(hint_active_ ? kHintShortPauseMs : kHintPauseMs));
}

void TsHintManager::ShowPendingHint() {
  show_timer_.reset();
  const auto found = hints_.find(hint_control_);
  if (found == hints_.end() || !HintsOn()) return;
  // Below the cursor's visible part, so the balloon never covers the pointer.
  POINT cursor{};
  ::GetCursorPos(&cursor);
  const HintPoint anchor{cursor.x, cursor.y + CursorHeightMargin()};
  std::wstring text = found->second;
  bool can_show = true;
  if (OnShowHint) OnShowHint(text, can_show);
  if (!can_show || text.empty()) {
    HideHint();
    return;
  }
  if (!window_) window_.emplace(HintKind);
  window_->ActivateHint(anchor, text, Animated);
  hint_active_ = true;
  ArmTimer(hide_timer_, Handle(), kHideTimer, UINT(std::max(0, PauseHide)));
}

void TsHintManager::HideHint() {
  hide_timer_.reset();
  hint_active_ = false;
  if (window_) window_->ReleaseHint();
}

void TsHintManager::CancelHint() {
  show_timer_.reset();
  HideHint();
  hint_control_ = nullptr;
}

LRESULT TsHintManager::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TIMER) {
    if (wparam == kShowTimer) ShowPendingHint();
    if (wparam == kHideTimer) HideHint();
    return 0;
  }
  return WindowBase::HandleMessage(message, wparam, lparam);
}

int TsHintManager::CursorHeightMargin() {
  const int fallback = ::GetSystemMetrics(SM_CYCURSOR);
  const HCURSOR cursor = ::GetCursor();
  ICONINFO info{};
  if (!cursor || !::GetIconInfo(cursor, &info)) return fallback;
  const UniqueBitmap mask(info.hbmMask);
  const UniqueBitmap color(info.hbmColor);
  BITMAP bitmap{};
  if (!::GetObjectW(mask.get(), sizeof bitmap, &bitmap)) return fallback;
  const int width = bitmap.bmWidth;
  // A monochrome cursor holds its AND mask above its XOR image in one bitmap twice as high.
  const int height = color ? bitmap.bmHeight : bitmap.bmHeight / 2;
  const std::vector<DWORD> mask_rows = BitmapRows(mask.get(), width, bitmap.bmHeight);
  const std::vector<DWORD> color_rows =
      color ? BitmapRows(color.get(), width, height) : std::vector<DWORD>{};
  if (mask_rows.empty() || (color && color_rows.empty())) return fallback;
  const auto visible = [&](int x, int y) {
    const std::size_t at = std::size_t(y) * std::size_t(width) + std::size_t(x);
    const bool opaque = (mask_rows[at] & 0xFFFFFF) == 0;  // AND bit 0: the image's pixel shows
    if (color) return opaque || (color_rows[at] >> 24) != 0;
    const bool inverted =
        (mask_rows[at + std::size_t(height) * std::size_t(width)] & 0xFFFFFF) != 0;
    return opaque || inverted;
  };
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      if (visible(x, y)) return std::max(0, y + 1 - int(info.yHotspot));
    }
  }
  return fallback;
}

}  // namespace kestrune
