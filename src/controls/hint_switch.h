// The application's hint switch: hints are on unless a speed button is held down. A held button
// keeps a ScopedHintsOff while it is down; the hint manager listens to hear when hints go off.
#pragma once

#include <functional>

namespace kestrune {

// Whether the application shows hints now.
bool HintsOn();

// Hints are off while at least one of these lives (GUI thread only).
class ScopedHintsOff {
 public:
  ScopedHintsOff();
  ~ScopedHintsOff();
  ScopedHintsOff(const ScopedHintsOff&) = delete;
  ScopedHintsOff& operator=(const ScopedHintsOff&) = delete;
};

// While it lives, `on_change(on)` runs each time the switch turns off or back on. One listener at
// a time: a newer one replaces the older until it goes.
class HintSwitchListener {
 public:
  explicit HintSwitchListener(std::function<void(bool on)> on_change);
  ~HintSwitchListener();
  HintSwitchListener(const HintSwitchListener&) = delete;
  HintSwitchListener& operator=(const HintSwitchListener&) = delete;

 private:
  friend class ScopedHintsOff;
  std::function<void(bool)> on_change_;
  HintSwitchListener* previous_;
};

}  // namespace kestrune
