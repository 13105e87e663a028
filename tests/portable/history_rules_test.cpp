#include "supervision/history_rules.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

TEST(HistoryLine, StampsTheTimeAndKeepsOneEventOnOneLine) {
  const HistoryTime time{2026, 12, 3, 7, 5, 9};
  EXPECT_EQ(HistoryLine(time, "Supervision stopped"),
            "2026-12-03 07:05:09  Supervision stopped\r\n");
  EXPECT_EQ(HistoryLine(time, "Failure box: two\r\nlines\n"),
            "2026-12-03 07:05:09  Failure box: two  lines \r\n");
}

}  // namespace
}  // namespace kestrune
