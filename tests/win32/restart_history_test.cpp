#include "supervision/restart_history.h"

#include <gtest/gtest.h>

#include "base/win32/unique_handle.h"
#include "supervision/history_rules.h"
#include "test_support.h"

namespace kestrune {
namespace {

using test_support::ReadFileBytes;
using test_support::TempDir;
using test_support::WriteFileBytes;

TEST(RestartHistory, AppendsLinesAndMovesAFullFileToItsEarlierGeneration) {
  TempDir dir;
  const std::string path = dir.File("KTN-Serv.log");
  const RestartHistory history([&] { return path; });
  EXPECT_TRUE(history.Add("first"));
  EXPECT_TRUE(history.Add("second"));
  const std::string two_lines = ReadFileBytes(path);
  EXPECT_EQ(two_lines.size(), 2 * 21 + std::string("first\r\nsecond\r\n").size());
  EXPECT_NE(two_lines.find("  first\r\n"), std::string::npos);
  EXPECT_NE(two_lines.find("  second\r\n"), std::string::npos);

  // At the cap the file stays; past it, it becomes the earlier generation, replacing the last.
  WriteFileBytes(path + ".1", "the generation before");
  const std::string full(kHistoryCapBytes, 'x');
  WriteFileBytes(path, full);
  EXPECT_TRUE(history.Add("at the cap"));
  EXPECT_EQ(ReadFileBytes(path + ".1"), "the generation before");
  EXPECT_TRUE(history.Add("past the cap"));
  EXPECT_EQ(ReadFileBytes(path + ".1").size(), kHistoryCapBytes + 21 + 12);
  EXPECT_EQ(ReadFileBytes(path).substr(21), "past the cap\r\n");
}

TEST(RestartHistory, AHistoryThatCannotBeWrittenLosesOnlyItsLine) {
  TempDir dir;
  const std::string path = dir.File("KTN-Serv.log");
  WriteFileBytes(path, "kept\r\n");
  {
    // Held by another program that shares nothing.
    const UniqueFile locked(
        CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(locked);
    EXPECT_FALSE(RestartHistory([&] { return path; }).Add("lost"));
  }
  EXPECT_EQ(ReadFileBytes(path), "kept\r\n");
  EXPECT_FALSE(RestartHistory([] { return std::string("Z:\\proc\\KTN-Serv.log"); }).Add("lost"));
  EXPECT_EQ(ReadFileBytes(path), "kept\r\n");
}

}  // namespace
}  // namespace kestrune
