// The application object: its own top-level window (the taskbar entry, the owner of the main
// window, the failure boxes' owner), the title, the forms it owns and the one message loop.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/message_pump.h"
#include "ui/window_base.h"

namespace kestrune {

class TForm;

// A message that reaches the application window, as its hooks see it.
struct AppMessage {
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
  LRESULT result = 0;
};

class TApplication;

// A watcher of the application window, registered while it lives: it is offered every message
// before the application's own handling; returning true ends the message's processing.
class ApplicationHook {
 public:
  using Handler = std::function<bool(AppMessage& message)>;
  ApplicationHook(TApplication& application, Handler handler);
  ~ApplicationHook();
  ApplicationHook(const ApplicationHook&) = delete;
  ApplicationHook& operator=(const ApplicationHook&) = delete;

 private:
  friend class TApplication;
  TApplication& application_;
  Handler handler_;
};

class TApplication final : private WindowBase, public MessagePump {
 public:
  TApplication();
  ~TApplication() override;

  // The one application object of the process.
  static TApplication& Instance();

  HWND Handle() const { return WindowBase::Handle(); }

  // The application icon: the executable's icon resource, or the platform's when it has none.
  static HICON Icon();

  // The application window's text: what the taskbar entry and every failure box show.
  std::string Title() const;
  void SetTitle(const std::string& title);

  // Creates a form; its creation handler runs behind an exception barrier once the form is built.
  // The first form created becomes the main window. The application owns every form.
  template <typename Form>
  Form& CreateForm() {
    auto form = std::make_unique<Form>();
    Form& created = *form;
    AdoptForm(std::move(form));
    return created;
  }
  TForm* MainForm() const { return main_form_; }

  // Shows the main window (as `show_command` asks, when ShowMainWindowAtStart holds) and runs
  // the message loop until termination; then destroys the forms.
  void Run(int show_command);

  // Dispatches every message waiting in the thread's queue and returns when it is empty; the quit
  // message sets TerminateRequested instead of being dispatched.
  void PumpPendingMessages() override;
  bool TerminateRequested() const override { return terminate_requested_; }
  // Ends the loop: posts the quit message with code 0.
  void Terminate();

  bool ShowMainWindowAtStart = true;

  void MinimizeApplication();
  void RestoreApplication();
  bool IsMinimized() const { return ::IsIconic(Handle()) != FALSE; }

  // Hides the main window and then the application window, so neither a window nor a taskbar
  // button is left; the tray icon is the way back. Nothing without a main window.
  void HideMainForm();
  // Restores a minimised application, sets a minimised main window to normal, shows it with the
  // taskbar button and brings it to the foreground. Nothing without a main window.
  void ShowMainForm();

  // The taskbar entry is shown while a form is visible and hidden otherwise.
  void UpdateTaskbarEntry();

 private:
  friend class ApplicationHook;
  void HookApplicationWindow(ApplicationHook& hook);
  void UnhookApplicationWindow(const ApplicationHook& hook);

  void AdoptForm(std::unique_ptr<TForm> form);
  // Takes one message off the queue; false when there was none.
  bool ProcessMessage();
  void DestroyForms();
  void CenterZeroSize();
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  std::vector<std::unique_ptr<TForm>> forms_;
  TForm* main_form_ = nullptr;
  std::vector<ApplicationHook*> hooks_;
  bool terminate_requested_ = false;
};

inline TApplication& Application() {
  return TApplication::Instance();
}

}  // namespace kestrune
