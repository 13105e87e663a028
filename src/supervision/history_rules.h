// The restart history's rules that need no operating system: how a line looks and when the file
// moves to its earlier generation.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrune {

inline constexpr char kHistoryFileName[] = "KTN-Serv.log";
inline constexpr char kEarlierHistorySuffix[] = ".1";
// Above this size the history is moved to its earlier generation and begun afresh.
inline constexpr std::uint64_t kHistoryCapBytes = 1024 * 1024;

// A local time to the second.
struct HistoryTime {
  int year, month, day, hour, minute, second;
};

// "2026-12-10 16:14:21  text" and CR LF. Line breaks inside the text become blanks, so one event
// is always one line.
std::string HistoryLine(const HistoryTime& time, std::string_view text);

}  // namespace kestrune
