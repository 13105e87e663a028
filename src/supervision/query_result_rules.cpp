#include "supervision/query_result_rules.h"

#include <vector>

#include "base/path_text.h"

namespace kestrune {

QueryToolCall DeriveQueryToolCall(std::string_view tool_path, std::string_view ip,
                                  std::string_view port) {
  QueryToolCall call;
  call.directory = DirectoryPart(tool_path);
  call.file_name = FileNamePart(tool_path);
  call.parameters = std::string(" -of ") + kResultFileName + " -P -a2s " + std::string(ip) + ":" +
                    std::string(port);
  call.result_path = call.directory + kResultFileName;
  return call;
}

int TextLineReader::Peek() {
  if (at_end_) return -1;
  if (position_ == filled_) {
    position_ = 0;
    filled_ = read_(buffer_, sizeof buffer_);
    if (filled_ == 0) {
      at_end_ = true;
      return -1;
    }
  }
  const unsigned char c = static_cast<unsigned char>(buffer_[position_]);
  if (c == 26) {  // Ctrl-Z: nothing after it is read
    at_end_ = true;
    return -1;
  }
  return c;
}

std::string TextLineReader::ReadLine() {
  std::string line;
  for (int c = Peek(); c != -1; c = Peek()) {
    ++position_;
    if (c == '\r') {
      if (Peek() == '\n') ++position_;
      break;
    }
    line.push_back(static_cast<char>(c));
  }
  return line;
}

std::string SecondLine(TextLineReader::ReadBytes read) {
  TextLineReader reader(std::move(read));
  reader.ReadLine();
  return reader.ReadLine();
}

bool ServerDidNotAnswer(std::string_view line2) {
  if (line2.find("no response") != std::string_view::npos) return true;
  std::vector<std::string_view> fields;
  std::size_t start = line2.find_first_not_of(" \t");
  while (start != std::string_view::npos) {
    const std::size_t end = line2.find_first_of(" \t", start);
    fields.push_back(line2.substr(start, end - start));
    start = line2.find_first_not_of(" \t", end);
  }
  return fields.size() == 2 && fields[1] == "DOWN";
}

}  // namespace kestrune
