// How the tray icon raises its events.
#pragma once

#include <utility>

namespace kestrune {

// Runs an event on a copy, so a handler that destroys the icon does not destroy itself mid-call.
template <typename Event, typename... Args>
void Raise(const Event& event, Args&&... args) {
  if (!event) return;
  const Event handler = event;
  handler(std::forward<Args>(args)...);
}

}  // namespace kestrune
