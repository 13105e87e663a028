#include <gtest/gtest.h>

#include "base/exceptions.h"
#include "base/path_text.h"
#include "supervision/check_interval.h"

namespace kestrune {
namespace {

TEST(PathText, SplitsAtTheLastBackslashOrColon) {
  struct Case {
    const char* path;
    const char* directory;
    const char* file_name;
  };
  const Case cases[] = {
      {"C:\\qstat\\qstat.exe", "C:\\qstat\\", "qstat.exe"},
      {"C:\\Games\\srcds\\KTN.exe", "C:\\Games\\srcds\\", "KTN.exe"},
      {"C:qstat.exe", "C:", "qstat.exe"},
      {"qstat.exe", "", "qstat.exe"},
      {"C:\\dir\\", "C:\\dir\\", ""},
      {"", "", ""},
      {"\\\\host\\share\\a:b", "\\\\host\\share\\a:", "b"},
      {"C:/unix/style.exe", "C:", "/unix/style.exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(DirectoryPart(c.path), c.directory);
    EXPECT_EQ(FileNamePart(c.path), c.file_name);
  }
}

TEST(CheckInterval, MultipliesInWrappingSigned32BitArithmetic) {
  EXPECT_EQ(CheckIntervalMs(60), 60000u);
  EXPECT_EQ(CheckIntervalMs(0), 0u);
  EXPECT_EQ(CheckIntervalMs(-1), 4294966296u);
  EXPECT_EQ(CheckIntervalMs(2147483), 2147483000u);
  EXPECT_EQ(CheckIntervalMs(4294968), 704u);  // 4294968000 wraps past 2^32
  EXPECT_EQ(CheckIntervalMs(INT32_MIN), 0u);
}

TEST(InOutError, TextFollowsTheCodeAndTheCodeIsKept) {
  struct Case {
    int code;
    const char* text;
  };
  const Case cases[] = {
      {2, "File not found"},          {3, "Invalid filename"},          {4, "Too many open files"},
      {5, "File access denied"},      {100, "Read beyond end of file"}, {101, "Disk full"},
      {106, "Invalid numeric input"}, {104, "I/O error 104"},           {32, "I/O error 32"},
      {-1, "I/O error -1"},
  };
  for (const Case& c : cases) {
    const EInOutError failure(c.code);
    EXPECT_EQ(failure.Message(), c.text);
    EXPECT_EQ(failure.ErrorCode(), c.code);
  }
}

}  // namespace
}  // namespace kestrune
