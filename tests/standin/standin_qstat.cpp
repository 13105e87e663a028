// Stand-in for the query tool: a console program started as the real one is,
// "qstat.exe -of FILE -P -a2s HOST:PORT", with its own folder as working directory. At start it
// appends a record "<pid>\t<working directory>\t<command line>" to "standin-qstat.log" beside
// itself and truncates FILE (text mode, so lines end in CR LF). It writes the header line, asks the
// server once with A2S_INFO over UDP and writes the server's line: players, map, response time and
// name when it answered, "no response" when nothing came back in time, "DOWN" when the host
// refused, "ERROR <host not found>" when HOST does not resolve. Its exit code is 0 whatever the
// server did.
//
// A file "standin-qstat.ctl" beside it, one directive a line, changes what it does for tests:
//   sleep-ms N     waits N ms after the truncation, before anything else is written
//   never-end      stays alive after writing
//   write-nothing  leaves the result file alone (no creation, no truncation)
//   lf-only        ends lines in LF alone
//   timeout-ms N   waits N ms for the answer (2000 by default)
//   exit-code N    ends with exit code N
#include "base/win32/prelude.h"

#include <winsock2.h>

#include "standin_support.h"
#include <ws2tcpip.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using kestrune::standin::ExeDirectory;

constexpr char kHeader[] = "ADDRESS           PLAYERS      MAP   RESPONSE TIME    NAME";
constexpr char kUsage[] = "usage: qstat -of FILE -P -a2s HOST:PORT\n";

// A whole decimal number in [0, max], or -1.
long long ParseNumber(const std::string& text, long long max) {
  if (text.empty() || text.size() > 10) return -1;
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value <= max ? value : -1;
}

struct Arguments {
  std::string result_file;
  std::string address;  // HOST:PORT as given, the way the lines show it
  std::string host;
  std::string port;
};

// False, with a message on stderr, when the arguments are missing, unknown or malformed.
bool ParseArguments(int argc, char** argv, Arguments& arguments) {
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    if (name == "-P") continue;  // player lines: the stand-in server reports no players
    if ((name != "-of" && name != "-a2s") || i + 1 >= argc) {
      std::fprintf(stderr, "qstat: unexpected argument \"%s\"\n", argv[i]);
      return false;
    }
    (name == "-of" ? arguments.result_file : arguments.address) = argv[++i];
  }
  if (arguments.result_file.empty() || arguments.address.empty()) {
    std::fputs("qstat: -of FILE and -a2s HOST:PORT are both needed\n", stderr);
    return false;
  }
  const std::size_t colon = arguments.address.rfind(':');
  if (colon == std::string::npos || colon == 0 ||
      ParseNumber(arguments.address.substr(colon + 1), 65535) <= 0) {
    std::fprintf(stderr, "qstat: \"%s\" is not HOST:PORT\n", arguments.address.c_str());
    return false;
  }
  arguments.host = arguments.address.substr(0, colon);
  arguments.port = arguments.address.substr(colon + 1);
  return true;
}

struct Control {
  DWORD sleep_ms = 0;
  bool never_end = false;
  bool write_nothing = false;
  bool lf_only = false;
  DWORD timeout_ms = 2000;
  int exit_code = 0;
};

// Reads the control file beside the executable; false, with a message on stderr, on a line it
// does not understand. No file means the normal behaviour.
bool ReadControl(Control& control) {
  const std::string path = ExeDirectory() + "standin-qstat.ctl";
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return true;
  bool good = true;
  char buffer[256];
  for (int number = 1; good && std::fgets(buffer, sizeof buffer, file); ++number) {
    std::string line = buffer;
    while (!line.empty() && std::strchr(" \t\r\n", line.back())) line.pop_back();
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos) continue;
    line.erase(0, start);
    const std::size_t blank = line.find_first_of(" \t");
    const std::string directive = line.substr(0, blank);
    const std::string value =
        blank == std::string::npos ? "" : line.substr(line.find_first_not_of(" \t", blank));
    const long long number_value = ParseNumber(value, 0x7FFFFFFF);
    const bool takes_number =
        directive == "sleep-ms" || directive == "timeout-ms" || directive == "exit-code";
    if (takes_number ? number_value < 0 : !value.empty()) {
      good = false;
    } else if (directive == "sleep-ms") {
      control.sleep_ms = DWORD(number_value);
    } else if (directive == "timeout-ms") {
      control.timeout_ms = DWORD(number_value);
    } else if (directive == "exit-code") {
      control.exit_code = int(number_value);
    } else if (directive == "never-end") {
      control.never_end = true;
    } else if (directive == "write-nothing") {
      control.write_nothing = true;
    } else if (directive == "lf-only") {
      control.lf_only = true;
    } else {
      good = false;
    }
    if (!good)
      std::fprintf(stderr, "qstat: %s line %d not understood: %s\n", path.c_str(), number,
                   line.c_str());
  }
  std::fclose(file);
  return good;
}

struct ServerInfo {
  std::string name, map, folder, game;
  int players = 0;
  int max_players = 0;
};

// Reads an A2S_INFO reply; false when it is not one or is cut short.
bool ParseInfoReply(const char* data, int size, ServerInfo& info) {
  if (size < 6 || std::memcmp(data, "\xFF\xFF\xFF\xFF\x49", 5) != 0) return false;
  int at = 6;  // after the protocol byte
  for (std::string* field : {&info.name, &info.map, &info.folder, &info.game}) {
    const void* end = std::memchr(data + at, '\0', std::size_t(size - at));
    if (!end) return false;
    field->assign(data + at, static_cast<const char*>(end));
    at = int(static_cast<const char*>(end) - data) + 1;
  }
  if (size - at < 4) return false;
  info.players = static_cast<unsigned char>(data[at + 2]);
  info.max_players = static_cast<unsigned char>(data[at + 3]);
  return true;
}

enum class Outcome { kAnswered, kNoResponse, kDown, kHostNotFound };

struct Answer {
  Outcome outcome = Outcome::kNoResponse;
  ServerInfo info;
  ULONGLONG response_ms = 0;
};

bool Refused(int error) {
  return error == WSAECONNRESET || error == WSAECONNREFUSED;
}

Answer AskServer(SOCKET socket, DWORD timeout_ms) {
  static const std::string kRequest("\xFF\xFF\xFF\xFF\x54Source Engine Query\0", 25);
  Answer answer;
  const ULONGLONG start = GetTickCount64();
  const ULONGLONG deadline = start + timeout_ms;
  if (send(socket, kRequest.data(), int(kRequest.size()), 0) == SOCKET_ERROR) {
    if (Refused(WSAGetLastError())) answer.outcome = Outcome::kDown;
    return answer;
  }
  char buffer[1400];
  for (ULONGLONG now = start; now < deadline; now = GetTickCount64()) {
    const ULONGLONG left = deadline - now;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket, &readable);
    const ULONGLONG slice = left < 100 ? left : 100;
    timeval wait{0, long(slice * 1000)};
    const int ready = select(0, &readable, nullptr, nullptr, &wait);
    if (ready < 0) break;
    if (ready == 0) {
      // Wine keeps the refusal as the socket's pending error without waking select or recv.
      int error = 0;
      int length = sizeof error;
      getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
      if (Refused(error)) {
        answer.outcome = Outcome::kDown;
        return answer;
      }
      continue;
    }
    const int received = recv(socket, buffer, sizeof buffer, 0);
    if (received == SOCKET_ERROR) {
      if (Refused(WSAGetLastError())) {
        answer.outcome = Outcome::kDown;
        return answer;
      }
      continue;  // a datagram too long for an answer, say
    }
    if (received == 9 && std::memcmp(buffer, "\xFF\xFF\xFF\xFF\x41", 5) == 0) {
      const std::string repeated = kRequest + std::string(buffer + 5, 4);
      send(socket, repeated.data(), int(repeated.size()), 0);
    } else if (ParseInfoReply(buffer, received, answer.info)) {
      answer.outcome = Outcome::kAnswered;
      answer.response_ms = GetTickCount64() - start;
      return answer;
    }
  }
  return answer;
}

Answer Query(const Arguments& arguments, DWORD timeout_ms) {
  Answer answer;
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) {
    std::fputs("qstat: no network\n", stderr);
    return answer;
  }
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  hints.ai_protocol = IPPROTO_UDP;
  addrinfo* found = nullptr;
  if (getaddrinfo(arguments.host.c_str(), arguments.port.c_str(), &hints, &found) != 0 || !found) {
    answer.outcome = Outcome::kHostNotFound;
  } else {
    // A connected socket hears the host's refusal (port unreachable) as a receive error.
    const SOCKET socket = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (socket == INVALID_SOCKET) {
      std::fputs("qstat: no socket\n", stderr);
    } else {
      if (connect(socket, found->ai_addr, int(found->ai_addrlen)) == 0) {
        answer = AskServer(socket, timeout_ms);
      } else if (Refused(WSAGetLastError())) {
        answer.outcome = Outcome::kDown;
      }
      closesocket(socket);
    }
    freeaddrinfo(found);
  }
  WSACleanup();
  return answer;
}

std::string ServerLine(const std::string& address, const Answer& answer) {
  char text[128];
  switch (answer.outcome) {
    case Outcome::kNoResponse:
      return address + "  no response";
    case Outcome::kDown:
      std::snprintf(text, sizeof text, "%-22s DOWN", address.c_str());
      return text;
    case Outcome::kHostNotFound:
      std::snprintf(text, sizeof text, "%-22sERROR <host not found>", address.c_str());
      return text;
    case Outcome::kAnswered:
      break;
  }
  std::snprintf(text, sizeof text, "%-22s%2d/%-2d  0/0  ", address.c_str(), answer.info.players,
                answer.info.max_players);
  std::string line = text;
  std::snprintf(text, sizeof text, "%-12s %3llu / 0  ", answer.info.map.c_str(),
                static_cast<unsigned long long>(answer.response_ms));
  return line + text + answer.info.folder + " " + answer.info.name;
}

}  // namespace

int main(int argc, char** argv) {
  kestrune::standin::AppendStartRecord("standin-qstat.log");

  Arguments arguments;
  if (!ParseArguments(argc, argv, arguments)) {
    std::fputs(kUsage, stderr);
    return 1;
  }
  Control control;
  if (!ReadControl(control)) return 1;

  std::FILE* result = nullptr;
  if (!control.write_nothing) {
    result = std::fopen(arguments.result_file.c_str(), control.lf_only ? "wb" : "w");
    if (!result) {
      std::fprintf(stderr, "qstat: cannot write %s: %s\n", arguments.result_file.c_str(),
                   std::strerror(errno));
      return 1;
    }
  }
  if (control.sleep_ms > 0) Sleep(control.sleep_ms);

  const Answer answer = Query(arguments, control.timeout_ms);
  if (result) {
    std::fprintf(result, "%s\n%s\n", kHeader, ServerLine(arguments.address, answer).c_str());
    std::fclose(result);
  }
  if (control.never_end) Sleep(INFINITE);
  return control.exit_code;
}
