// A profile (INI) file named by its path. Every read and write goes straight to the platform's
// private-profile functions; nothing is cached and no file is held open between calls.
#pragma once

#include <string>

namespace kestrune {

class TIniFile {
 public:
  explicit TIniFile(std::string path) : path_(std::move(path)) {}

  const std::string& FileName() const { return path_; }

  // At most 2047 characters of the value; the platform trims blanks and one pair of quotes.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& default_value) const;

  // Raises Exception "Unable to write to <path>" when the platform refuses the write.
  void WriteString(const std::string& section, const std::string& key,
                   const std::string& value) const;

 private:
  std::string path_;
};

}  // namespace kestrune
