// The spin edit: an edit for a whole number with bounds and a step, an up/down button pair inside
// its right edge and a key filter that keeps typing to digits.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "base/win32/window_registrations.h"
#include "controls/hint_switch.h"
#include "controls/skinned_controls.h"
#include "ui/window_base.h"

namespace kestrune {

// The up/down pair: a press and release on the same half is one step; holding a half repeats
// while the mouse stays captured, and the release over the half adds a last step.
class TsSpinButton final : private WindowBase {
 public:
  enum class Half { kNone, kUp, kDown };

  TsSpinButton(HWND edit, std::function<void(Half)> on_step);

  HWND Handle() const { return WindowBase::Handle(); }
  void SetSkin(const SkinPainter* skin);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  Half HalfAt(LPARAM point) const;
  void Press(Half half);
  void Repeat();
  void Release(LPARAM point);
  void EndPress();
  void Paint(HDC dc);

  std::function<void(Half)> on_step_;
  const SkinPainter* skin_ = nullptr;
  Half pressed_ = Half::kNone;
  bool over_pressed_ = false;  // the cursor is over the half being held
  bool repeating_ = false;     // the first repeat has come
  UniqueTimer repeat_timer_;
  std::optional<ScopedHintsOff> hints_off_;  // while a half is held down
};

class TsSpinEdit : public TsEdit {
 public:
  TsSpinEdit(HWND parent, const ControlPlacement& placement);

  // MinValue and MaxValue both 0: no bounds; MaxValue 0 alone: no upper bound.
  std::int32_t MinValue = 0;
  std::int32_t MaxValue = 0;
  std::int32_t Increment = 1;
  // False: typing is limited to control keys, and cut and paste are refused.
  bool EditorEnabled = true;

  // When assigned, run in place of the up or down step.
  std::function<void()> OnUpClick;
  std::function<void()> OnDownClick;

  // Sounds every refusal; MessageBeep unless replaced.
  std::function<void(UINT type)> Beep = [](UINT type) { ::MessageBeep(type); };

  // The text's value: MinValue when the text is empty or no integer. The text is left as it is.
  std::int32_t Value() const;
  // Writes the clamped value as the text; ignored until Loaded.
  void SetValue(std::int32_t value);
  // Building the window is over: writes of Value take effect from now on.
  void Loaded() { loading_ = false; }

  // What the up and down buttons and arrow keys do.
  void StepUp();
  void StepDown();

  void SetSkin(const SkinPainter* skin) override;

 private:
  bool HasInnerButton() const override { return true; }
  LRESULT WindowMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Step(std::int64_t delta, const std::function<void()>& handler);
  void WriteValue(std::int64_t value);
  void LayoutInnerButton() override;

  bool loading_ = true;
  TsSpinButton button_;
};

}  // namespace kestrune
