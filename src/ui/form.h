// The form base: a top-level window owned by the application window, at its design position,
// whose children's commands are reflected back to their control objects.
#pragma once

#include <string>

#include "ui/window_base.h"

namespace kestrune {

struct FormDesign {
  std::wstring caption;
  int left, top, width, height;
  bool maximize_box = false;
};

class TForm : protected WindowBase {
 public:
  HWND Handle() const { return WindowBase::Handle(); }
  bool Visible() const { return ::IsWindowVisible(Handle()) != FALSE; }
  void Show();
  void Hide();
  // Closes the form; closing the main window ends the application.
  void Close();

  // The creation handler, run once the whole form is built (behind the application's barrier).
  virtual void DoCreate() {}

  // The window that had the focus when the form last lost activation, to give it back.
  HWND LastFocus() const { return last_focus_; }

 protected:
  explicit TForm(FormDesign design) : design_(std::move(design)) {}

  // Creates the form's window from its design: the most-derived form calls it in its constructor.
  void CreateFormWindow();

  // Runs each time the form becomes the active window.
  virtual void DoActivate() {}
  // A command of the form's menu.
  virtual void MenuCommand(WORD /*id*/) {}
  // The first control to focus at the first activation.
  virtual HWND FirstFocus() const { return nullptr; }

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  FormDesign design_;
  bool activated_once_ = false;
  HWND last_focus_ = nullptr;
};

}  // namespace kestrune
