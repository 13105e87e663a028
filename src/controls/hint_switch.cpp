#include "controls/hint_switch.h"

#include <utility>

#include "ui/failure_sink.h"

namespace kestrune {
namespace {

int g_held = 0;
HintSwitchListener* g_listener = nullptr;

}  // namespace

bool HintsOn() {
  return g_held == 0;
}

ScopedHintsOff::ScopedHintsOff() {
  if (g_held++ == 0 && g_listener) CallGuarded([] { g_listener->on_change_(false); });
}

ScopedHintsOff::~ScopedHintsOff() {
  if (--g_held == 0 && g_listener) CallGuarded([] { g_listener->on_change_(true); });
}

HintSwitchListener::HintSwitchListener(std::function<void(bool on)> on_change)
    : on_change_(std::move(on_change)), previous_(std::exchange(g_listener, this)) {}

HintSwitchListener::~HintSwitchListener() {
  if (g_listener == this) g_listener = previous_;
}

}  // namespace kestrune
