// The check timer's interval from the delay in seconds: delay x 1000 in wrapping signed 32-bit
// arithmetic, the 32 bits then read as an unsigned millisecond count (so -1 gives 4294966296).
#pragma once

#include <cstdint>

namespace kestrune {

constexpr std::uint32_t CheckIntervalMs(std::int32_t delay_seconds) {
  return static_cast<std::uint32_t>(delay_seconds) * 1000u;
}

}  // namespace kestrune
