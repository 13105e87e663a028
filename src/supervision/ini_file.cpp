#include "base/win32/prelude.h"

#include "supervision/ini_file.h"

#include "base/exceptions.h"

namespace kestrune {

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& default_value) const {
  char buffer[2048];
  const DWORD length = ::GetPrivateProfileStringA(
      section.c_str(), key.c_str(), default_value.c_str(), buffer, sizeof buffer, path_.c_str());
  return std::string(buffer, length);
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) const {
  if (!::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str())) {
    throw Exception("Unable to write to " + path_);
  }
}

}  // namespace kestrune
