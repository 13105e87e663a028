#include "supervision/settings_file.h"

#include <gtest/gtest.h>

#include "base/exceptions.h"
#include "test_support.h"

namespace kestrune {
namespace {

using test_support::FakeWindow;
using test_support::ReadFileBytes;
using test_support::TempDir;
using test_support::WriteFileBytes;

// The "Key=value" lines of a profile file, without their line ends.
std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : bytes) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else if (c != '\r') {
      line.push_back(c);
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// A folder nobody may create files in, root included.
const char kReadOnlySettings[] = "Z:\\proc\\KTN-Serv.ini";

TEST(SettingsFile, FirstRunCreatesSixEmptyKeysAndKeepsTheFields) {
  TempDir dir;
  const std::string path = dir.File("KTN-Serv.ini");
  FakeWindow window;
  window.fields[SettingField::kQueryIp] = "127.0.0.1";

  EXPECT_EQ(LoadSettings(window, path), "0");

  EXPECT_EQ(Lines(ReadFileBytes(path)),
            (std::vector<std::string>{"[Main]", "ServerPath=", "QstatsPath=", "AdditionalParams=",
                                      "QueryIP=", "QueryPort=", "Delay="}));
  EXPECT_EQ(window.fields.size(), 1u);
  EXPECT_EQ(window.FieldText(SettingField::kQueryIp), "127.0.0.1");
}

TEST(SettingsFile, LoadFillsEveryFieldAndEmptiesThoseWhoseKeysAreMissing) {
  TempDir dir;
  const std::string path = dir.File("KTN-Serv.ini");
  WriteFileBytes(path,
                 "[main]\r\nserverpath=C:\\srv\\srcds.exe\r\nQueryIP=10.0.0.1\r\nDelay=abc\r\n"
                 "[Settings]\r\nAutoStart=yes\r\n");
  FakeWindow window;
  for (SettingField field :
       {SettingField::kQueryToolPath, SettingField::kAdditionalParams, SettingField::kQueryPort}) {
    window.fields[field] = "typed before";
  }

  EXPECT_EQ(LoadSettings(window, path), "yes");

  EXPECT_EQ(window.FieldText(SettingField::kServerPath), "C:\\srv\\srcds.exe");
  EXPECT_EQ(window.FieldText(SettingField::kQueryIp), "10.0.0.1");
  EXPECT_EQ(window.FieldText(SettingField::kDelay), "abc");
  EXPECT_EQ(window.FieldText(SettingField::kQueryToolPath), "");
  EXPECT_EQ(window.FieldText(SettingField::kAdditionalParams), "");
  EXPECT_EQ(window.FieldText(SettingField::kQueryPort), "");
}

TEST(SettingsFile, SavedValuesComeBackAsThePlatformReadsThem) {
  TempDir dir;
  const std::string path = dir.File("KTN-Serv.ini");
  const std::string long_value(3000, 'p');
  FakeWindow saved;
  saved.fields = {{SettingField::kServerPath, "C:\\games\\srcds.exe"},
                  {SettingField::kQueryToolPath, "C:\\qstat\\qstat.exe"},
                  {SettingField::kAdditionalParams, "\"-game cstrike +map de_dust2\""},
                  {SettingField::kQueryIp, long_value},
                  {SettingField::kQueryPort, "27015"},
                  {SettingField::kDelay, "letters"}};
  SaveSettings(saved, path);

  FakeWindow loaded;
  LoadSettings(loaded, path);
  EXPECT_EQ(loaded.FieldText(SettingField::kServerPath), "C:\\games\\srcds.exe");
  EXPECT_EQ(loaded.FieldText(SettingField::kQueryToolPath), "C:\\qstat\\qstat.exe");
  EXPECT_EQ(loaded.FieldText(SettingField::kAdditionalParams), "-game cstrike +map de_dust2");
  EXPECT_EQ(loaded.FieldText(SettingField::kQueryIp), long_value.substr(0, 2047));
  EXPECT_EQ(loaded.FieldText(SettingField::kQueryPort), "27015");
  EXPECT_EQ(loaded.FieldText(SettingField::kDelay), "letters");
}

TEST(SettingsFile, AutoStartIsWrittenAsOneOrZeroAndRecreatesAMissingFile) {
  TempDir dir;
  const std::string path = dir.File("KTN-Serv.ini");
  SaveAutoStart(true, path);
  EXPECT_EQ(Lines(ReadFileBytes(path)), (std::vector<std::string>{"[Settings]", "AutoStart=1"}));
  SaveAutoStart(false, path);
  EXPECT_EQ(Lines(ReadFileBytes(path)), (std::vector<std::string>{"[Settings]", "AutoStart=0"}));
}

TEST(SettingsFile, RefusedWritesRaiseUnableToWriteWithTheFullPath) {
  FakeWindow window;
  const std::string expected = std::string("Unable to write to ") + kReadOnlySettings;
  const auto message_of = [](auto&& operation) {
    try {
      operation();
    } catch (const Exception& failure) {
      return failure.Message();
    }
    return std::string("no failure");
  };
  EXPECT_EQ(message_of([&] { LoadSettings(window, kReadOnlySettings); }), expected);
  EXPECT_EQ(message_of([&] { SaveSettings(window, kReadOnlySettings); }), expected);
  EXPECT_EQ(message_of([&] { SaveAutoStart(true, kReadOnlySettings); }), expected);
  EXPECT_TRUE(window.fields.empty());
}

TEST(SettingsFile, PathIsBesideTheRunningExecutable) {
  EXPECT_EQ(SettingsPathBesideExecutable(), test_support::BinDirectory() + "KTN-Serv.ini");
}

}  // namespace
}  // namespace kestrune
