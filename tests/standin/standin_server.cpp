// Stand-in for the game server: a GUI program with a message loop. At start it appends a record
// "<pid>\t<working directory>\t<command line>" to "standin-server.log" beside itself, then answers
// A2S_INFO queries on UDP port N of its "-port N" parameter (27015 when absent) until it is killed.
// While a file "standin-server.mute" lies beside it, it stays alive but answers nothing.
// Parameters: "-idle-delay MS" sleeps before the message loop starts, so the process becomes idle
// for input late; "-exit-after MS" makes it end by itself.
#include "base/win32/prelude.h"

#include <winsock2.h>

#include "standin_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using kestrune::standin::ExeDirectory;

constexpr UINT kSocketMessage = WM_APP + 1;
constexpr UINT_PTR kExitTimer = 1;

// The value after `name` in the command line, or `fallback`.
long ParameterValue(const char* command_line, const char* name, long fallback) {
  const char* found = std::strstr(command_line, name);
  if (!found) return fallback;
  return std::strtol(found + std::strlen(name), nullptr, 10);
}

bool Muted() {
  return GetFileAttributesA((ExeDirectory() + "standin-server.mute").c_str()) !=
         INVALID_FILE_ATTRIBUTES;
}

void AppendCString(std::string& packet, const char* text) {
  packet.append(text, strlen(text) + 1);
}

std::string InfoReply(unsigned short port) {
  std::string reply("\xFF\xFF\xFF\xFF\x49\x11", 6);
  AppendCString(reply, ("Stand-in Server " + std::to_string(port)).c_str());
  AppendCString(reply, "de_dust2");
  AppendCString(reply, "cstrike");
  AppendCString(reply, "Counter-Strike: Source");
  reply.append("\xF0\x00", 2);      // app id 240
  reply.append("\x00\x10\x00", 3);  // players, max players, bots
  reply.append("dw\x00\x00", 4);    // dedicated, windows, public, no VAC
  AppendCString(reply, "1.0.0.0");
  return reply;
}

void AnswerQueries(SOCKET socket, unsigned short port) {
  char buffer[1400];
  sockaddr_in from{};
  int from_length = sizeof from;
  for (;;) {
    const int received = recvfrom(socket, buffer, sizeof buffer, 0,
                                  reinterpret_cast<sockaddr*>(&from), &from_length);
    if (received <= 0) return;
    static const char kRequest[] = "\xFF\xFF\xFF\xFF\x54Source Engine Query";
    if (received < int(sizeof kRequest) || std::memcmp(buffer, kRequest, sizeof kRequest) != 0) {
      continue;
    }
    if (Muted()) continue;
    const std::string reply = InfoReply(port);
    sendto(socket, reply.data(), int(reply.size()), 0, reinterpret_cast<sockaddr*>(&from),
           from_length);
  }
}

struct ServerState {
  SOCKET socket = INVALID_SOCKET;
  unsigned short port = 27015;
};
ServerState g_state;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kSocketMessage:
      if (WSAGETSELECTEVENT(lparam) == FD_READ) AnswerQueries(g_state.socket, g_state.port);
      return 0;
    case WM_TIMER:
      if (wparam == kExitTimer) PostQuitMessage(0);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const char* command_line = GetCommandLineA();
  kestrune::standin::AppendStartRecord("standin-server.log");
  // The error mode it inherited: "<pid>\t<mode>".
  kestrune::standin::AppendLine(
      "standin-server-error-mode.log",
      std::to_string(GetCurrentProcessId()) + "\t" + std::to_string(GetErrorMode()) + "\n");

  // Bound before anything can find the process idle, so an idle server always has its port.
  g_state.port = static_cast<unsigned short>(ParameterValue(command_line, "-port ", 27015));
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) == 0) {
    g_state.socket = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(g_state.port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (g_state.socket != INVALID_SOCKET &&
        bind(g_state.socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
      closesocket(g_state.socket);
      g_state.socket = INVALID_SOCKET;
    }
  }

  const long idle_delay = ParameterValue(command_line, "-idle-delay ", 0);
  if (idle_delay > 0) Sleep(DWORD(idle_delay));

  WNDCLASSA window_class{};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.lpszClassName = "KestruneStandInServer";
  RegisterClassA(&window_class);
  HWND window = CreateWindowA(window_class.lpszClassName, "Stand-in server", WS_OVERLAPPED, 0, 0,
                              100, 100, nullptr, nullptr, instance, nullptr);

  const long exit_after = ParameterValue(command_line, "-exit-after ", -1);
  if (exit_after >= 0) SetTimer(window, kExitTimer, UINT(exit_after), nullptr);

  if (g_state.socket != INVALID_SOCKET) {
    WSAAsyncSelect(g_state.socket, window, kSocketMessage, FD_READ);
  }

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
