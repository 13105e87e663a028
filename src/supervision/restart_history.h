// The restart history "KTN-Serv.log" beside the executable: one timestamped line per event that
// changes the server's fate. The file is opened, appended to and closed for each line, never held;
// above its cap it moves to "KTN-Serv.log.1" (one earlier generation) and begins afresh. A history
// that cannot be written loses that line and nothing else: it never stops supervision and never
// shows a box.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kestrune {

class RestartHistory {
 public:
  using PathSource = std::function<std::string()>;

  // `path` names the file; it is asked afresh for every line.
  explicit RestartHistory(PathSource path) : path_(std::move(path)) {}

  // "KTN-Serv.log" in the running executable's folder.
  static std::string PathBesideExecutable();

  // Appends one line with the local time; false when it could not be written.
  bool Add(std::string_view text) const noexcept;

 private:
  PathSource path_;
};

}  // namespace kestrune
