// The tray icons' shared window.
#pragma once

#include "base/win32/prelude.h"

#include "tray/shared_handler.h"

namespace kestrune {

class TTrayIcon;

// Every tray icon's notifications arrive as this message: wParam the icon's identity, lParam the
// mouse message.
inline constexpr UINT kTrayCallbackMessage = WM_USER + 1024;

// The one window of the process that the shell talks to about every tray icon: it hands each
// notification to the icon it names. Never shown.
class TTrayIconHandler final : public SharedHandler<TTrayIconHandler, TTrayIcon, UINT> {
 private:
  friend class SharedHandler<TTrayIconHandler, TTrayIcon, UINT>;

  TTrayIconHandler() {
    CreateWindowHandle(
        {.class_name = L"KestruneTrayIconWindow", .style = WS_POPUP, .ex_style = WS_EX_TOOLWINDOW});
  }

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
};

}  // namespace kestrune
