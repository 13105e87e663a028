#include "supervision/history_rules.h"

#include <cstdio>

namespace kestrune {

std::string HistoryLine(const HistoryTime& time, std::string_view text) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month,
                time.day, time.hour, time.minute, time.second);
  std::string line = stamp;
  line += "  ";
  for (char c : text) line += c == '\r' || c == '\n' ? ' ' : c;
  line += "\r\n";
  return line;
}

}  // namespace kestrune
