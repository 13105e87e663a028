// The rules of a health check that need no operating system: what the check passes to the query
// tool, how it reads the tool's result file, and when line 2 means the server did not answer.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kestrune {

inline constexpr char kResultFileName[] = "query.txt";

// How the query tool is started for one check, from the tool path, the query IP and the port.
struct QueryToolCall {
  std::string file_name;    // after the tool path's last "\" or ":"; the whole path without one
  std::string directory;    // up to and including that character; the tool's working directory
  std::string parameters;   // " -of query.txt -P -a2s IP:PORT", IP and port as they stand
  std::string result_path;  // the directory followed by "query.txt"
};
QueryToolCall DeriveQueryToolCall(std::string_view tool_path, std::string_view ip,
                                  std::string_view port);

// Reads lines of ANSI text from a byte source. A line ends at a CR, and an LF right after it
// belongs to that line end; a lone LF stays in the line. Ctrl-Z ends the file. At the end of the
// file a line is empty. Lines may be of any length.
class TextLineReader {
 public:
  // Fills the buffer with up to `size` bytes and returns how many; 0 at the end of the file.
  // Raises on a read failure.
  using ReadBytes = std::function<std::size_t(char* buffer, std::size_t size)>;

  explicit TextLineReader(ReadBytes read) : read_(std::move(read)) {}
  std::string ReadLine();

 private:
  // The next byte without taking it; -1 at the end of the file.
  int Peek();

  ReadBytes read_;
  char buffer_[4096];
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
  bool at_end_ = false;
};

// Line 2 of a result, read from `read`.
std::string SecondLine(TextLineReader::ReadBytes read);

// The verdict on line 2: "no response" anywhere in it (case-sensitive), or the line the tool
// writes for a host that refused: the address and the single word "DOWN", nothing more.
bool ServerDidNotAnswer(std::string_view line2);

}  // namespace kestrune
