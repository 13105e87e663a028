#include "ui/form.h"

#include "ui/application.h"
#include "ui/command_target.h"
#include "ui/message_bits.h"

namespace kestrune {

void TForm::CreateFormWindow() {
  // A fixed frame: no desktop (an X window manager included) offers to resize or maximise it, so
  // the window never shows more than it paints.
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  if (design_.maximize_box) style |= WS_MAXIMIZEBOX;
  CreateWindowHandle({.class_name = L"TForm",
                      .title = design_.caption.c_str(),
                      .style = style,
                      .x = design_.left,
                      .y = design_.top,
                      .width = design_.width,
                      .height = design_.height,
                      .parent = Application().Handle(),
                      .background = ::GetSysColorBrush(COLOR_BTNFACE),
                      .icon = TApplication::Icon()});
}

void TForm::Show() {
  ::ShowWindow(Handle(), SW_SHOW);
  Application().UpdateTaskbarEntry();
}

void TForm::Hide() {
  ::ShowWindow(Handle(), SW_HIDE);
  Application().UpdateTaskbarEntry();
}

void TForm::Close() {
  // Nothing may refuse a close; closing the main window ends the application, and the window
  // stays until the exit step destroys it.
  if (Application().MainForm() == this) {
    Application().Terminate();
  } else {
    Hide();
  }
}

LRESULT TForm::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: {
      const auto control = reinterpret_cast<HWND>(lparam);
      if (!control) {
        if (HIWORD(wparam) == 0) MenuCommand(LOWORD(wparam));
        return 0;
      }
      if (CommandTarget* target = CommandTargetOf(control)) target->HandleCommand(HIWORD(wparam));
      return 0;
    }
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lparam);
      LRESULT result = 0;
      if (CommandTarget* target = CommandTargetOf(header.hwndFrom)) {
        if (target->HandleNotify(header, result)) return result;
      }
      break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (CommandTarget* target = CommandTargetOf(reinterpret_cast<HWND>(lparam))) {
        if (HBRUSH brush = target->CtlColor(reinterpret_cast<HDC>(wparam))) {
          return reinterpret_cast<LRESULT>(brush);
        }
      }
      break;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (CommandTarget* target = CommandTargetOf(item.hwndItem)) {
        if (target->DrawItem(item)) return TRUE;
      }
      break;
    }
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        last_focus_ = ::GetFocus();
      } else {
        const LRESULT result = WindowBase::HandleMessage(message, wparam, lparam);
        // The first activation focuses the first control; later ones give the focus back.
        const HWND focus = activated_once_ ? last_focus_ : FirstFocus();
        activated_once_ = true;
        if (focus && ::IsChild(Handle(), focus)) ::SetFocus(focus);
        DoActivate();
        return result;
      }
      break;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_SYSCOMMAND:
      if (SystemCommandOf(wparam) == SC_MINIMIZE) {
        Application().MinimizeApplication();
        return 0;
      }
      break;
  }
  return WindowBase::HandleMessage(message, wparam, lparam);
}

}  // namespace kestrune
