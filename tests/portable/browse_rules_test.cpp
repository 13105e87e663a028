#include "controls/browse_rules.h"

#include <gtest/gtest.h>

#include <set>

namespace kestrune {
namespace {

TEST(BrowseRules, TheCandidatePresetsTheDialog) {
  // The folders that exist in this fixture.
  const std::set<std::string> folders = {"C:\\games\\srcds\\", "C:\\", "C:\\games\\"};
  const auto is_directory = [&](const std::string& folder) { return folders.count(folder) > 0; };
  const std::string too_long = "C:\\games\\" + std::string(260, 'a') + ".exe";

  struct Case {
    std::string candidate;
    bool changes;  // false: the dialog keeps the previous browse's state
    std::optional<std::string> initial_dir;
    std::string file_name;
  };
  const Case cases[] = {
      {"C:\\games\\srcds\\srcds.exe", true, "C:\\games\\srcds", "C:\\games\\srcds\\srcds.exe"},
      {"\"C:\\games\\srcds\\srcds.exe\"", false, std::nullopt, ""},
      {"C:\\games\\srcds\\", true, "C:\\games\\srcds", ""},
      {"C:\\", true, "C:\\", ""},
      {"", false, std::nullopt, ""},
      {"C:\\games\\srcds\\a|b.exe", false, std::nullopt, ""},
      {"C:\\games/srcds.exe", false, std::nullopt, ""},
      {"srcds.exe", true, std::nullopt, "srcds.exe"},
      {"C:\\missing\\srcds.exe", true, std::nullopt, "C:\\missing\\srcds.exe"},
      {"C:\\missing\\", true, std::nullopt, ""},
      {too_long, true, "C:\\games", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.candidate);
    const auto preset = PresetFor(c.candidate, is_directory);
    ASSERT_EQ(preset.has_value(), c.changes);
    if (!preset) continue;
    EXPECT_EQ(preset->initial_dir, c.initial_dir);
    EXPECT_EQ(preset->file_name, c.file_name);
  }
}

TEST(BrowseRules, AfterOkTheNextBrowseStartsInTheChosenFilesFolder) {
  EXPECT_EQ(InitialDirAfterOk("C:\\dir\\file.exe"), "C:\\dir");
  EXPECT_EQ(InitialDirAfterOk("C:\\file.exe"), "C:\\");
  EXPECT_EQ(InitialDirAfterOk("\\\\host\\share\\file.exe"), "\\\\host\\share");
  EXPECT_EQ(InitialDirAfterOk("\\file.exe"), "\\");
}

TEST(BrowseRules, TheFilterTakesTheDialogsDoubleNulForm) {
  EXPECT_EQ(DialogFilter("All files (*.*)|*.*"), std::string("All files (*.*)\0*.*\0\0", 21));
}

}  // namespace
}  // namespace kestrune
