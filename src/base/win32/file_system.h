// The executable's own path and what lies at a path, in the ANSI code page the settings use.
#pragma once

#include "base/win32/prelude.h"

#include <string>

namespace kestrune {

// The running executable's full path, however long.
inline std::string ExecutablePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), DWORD(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);  // the path was cut: ask again with room for all of it
  }
}

// A file (not a directory) exists at `path`.
inline bool IsExistingFile(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A directory exists at `path`.
inline bool IsExistingDirectory(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace kestrune
