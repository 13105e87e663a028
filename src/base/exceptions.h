// The failure classes. Every failure the system raises is one of these; the dispatch points catch
// them and hand them to the failure report. Messages are byte strings in the ANSI code page.
#pragma once

#include <string>

namespace kestrune {

class Exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  virtual ~Exception() = default;
  Exception(const Exception&) = default;
  Exception& operator=(const Exception&) = default;

  const std::string& Message() const { return message_; }

 private:
  std::string message_;
};

// A silent abort: the failure report shows nothing for it.
class EAbort : public Exception {
 public:
  EAbort() : Exception("Operation aborted") {}
};

// A failed file operation, carrying its I/O code; the text follows from the code.
class EInOutError : public Exception {
 public:
  explicit EInOutError(int code);
  int ErrorCode() const { return error_code_; }

 private:
  int error_code_;
};

class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

class EOutOfResources : public Exception {
 public:
  using Exception::Exception;
};

class EOutOfMemory : public Exception {
 public:
  EOutOfMemory() : Exception("Out of memory") {}
};

// The text an I/O code is reported with: "File not found" for 2, ..., "I/O error %d" otherwise.
std::string InOutErrorMessage(int code);

// The I/O code raised when a file cannot be opened for input.
inline constexpr int kFileNotOpenForInput = 104;

}  // namespace kestrune
