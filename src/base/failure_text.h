// The text a failure box shows for a failure's message.
#pragma once

#include <string>

namespace kestrune {

// A "." is appended when the message is not empty and its last character's code is greater than
// that of "." (so "!", ",", ")", "-", a blank or "." itself end a text as it stands).
inline std::string FailureBoxText(std::string message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') message.push_back('.');
  return message;
}

}  // namespace kestrune
