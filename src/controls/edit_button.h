// The file-name edit's browse button.
#pragma once

#include "base/win32/prelude.h"

#include <functional>
#include <optional>

#include "controls/browse_glyph.h"
#include "controls/hint_switch.h"
#include "skin/skin_painter.h"
#include "ui/window_base.h"

namespace kestrune {

// The browse button: a flat button that shows its glyph's normal, hot or pressed frame and
// reports a press released over it. It never takes the focus.
class TsEditButton final : private WindowBase {
 public:
  // One glyph frame plus 2 pixels.
  static constexpr int kWidth = kBrowseGlyphSize + 2;

  explicit TsEditButton(HWND parent);

  HWND Handle() const { return WindowBase::Handle(); }
  std::function<void()> OnClick;
  void SetSkin(const SkinPainter* skin);

 private:
  enum Frame { kNormal, kHot, kPressed };

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Paint(HDC dc);
  void SetState(bool hot, bool pressed);

  BrowseGlyph glyph_;
  const SkinPainter* skin_ = nullptr;
  bool hot_ = false;
  bool pressed_ = false;
  std::optional<ScopedHintsOff> hints_off_;  // while the button is held down
};

}  // namespace kestrune
