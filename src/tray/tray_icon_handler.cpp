#include "tray/tray_icon_handler.h"

#include "tray/tray_icon.h"

namespace kestrune {

LRESULT TTrayIconHandler::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kTrayCallbackMessage:
      if (TTrayIcon* icon = Find(UINT(wparam))) Dispatch([&] { icon->Notify(UINT(lparam)); });
      return 0;
    // A close request leaves the window in place, and the session may end.
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_QUIT:
    case WM_ENDSESSION:
    case WM_NCDESTROY:
      return 1;
  }
  return WindowBase::HandleMessage(message, wparam, lparam);
}

}  // namespace kestrune
