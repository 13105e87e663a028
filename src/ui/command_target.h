// How a form hands WM_COMMAND and WM_NOTIFY back to the control object that sent them: the control
// attaches itself to its window, the parent looks it up by the window handle.
#pragma once

#include "base/win32/prelude.h"

#include "base/win32/window_registrations.h"

namespace kestrune {

class CommandTarget {
 public:
  // A notification code from WM_COMMAND.
  virtual void HandleCommand(WORD /*code*/) {}
  // WM_NOTIFY: true when handled, with the result to return.
  virtual bool HandleNotify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  // WM_CTLCOLOR*: the brush to paint the control's background with after setting the colours in
  // `dc`, or nullptr for the platform's colours.
  virtual HBRUSH CtlColor(HDC /*dc*/) { return nullptr; }
  // WM_DRAWITEM of an owner-drawn control: true when drawn.
  virtual bool DrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }

 protected:
  ~CommandTarget() = default;
};

// Links a control's window to its object for as long as the link lives.
class CommandTargetLink {
 public:
  CommandTargetLink(HWND window, CommandTarget& target);

 private:
  ScopedWindowProperty property_;
};

// The object linked to `window`, or nullptr.
CommandTarget* CommandTargetOf(HWND window);

}  // namespace kestrune
