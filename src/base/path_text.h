// Splitting a Windows path as text: the folder part runs up to and including the last "\" or ":".
#pragma once

#include <string>
#include <string_view>

namespace kestrune {

// The path up to and including its last "\" or ":"; empty when it has neither.
inline std::string DirectoryPart(std::string_view path) {
  const auto cut = path.find_last_of("\\:");
  return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

// The rest of the path after its last "\" or ":"; the whole path when it has neither.
inline std::string FileNamePart(std::string_view path) {
  const auto cut = path.find_last_of("\\:");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

}  // namespace kestrune
