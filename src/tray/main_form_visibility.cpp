#include "tray/main_form_visibility.h"

#include "shell/application.h"
#include "shell/form.h"

namespace kestrune {

void HideMainForm(TApplication& application) {
  TForm* main = application.MainForm();
  if (!main) return;
  ::ShowWindow(main->Handle(), SW_HIDE);
  if (::IsWindowVisible(application.Handle())) ::ShowWindow(application.Handle(), SW_HIDE);
}

void ShowMainForm(TApplication& application) {
  TForm* main = application.MainForm();
  if (!main) return;
  application.RestoreApplication();
  if (::IsIconic(main->Handle())) ::ShowWindow(main->Handle(), SW_RESTORE);
  main->Show();
  ::SetForegroundWindow(application.Handle());
  ::SetForegroundWindow(main->Handle());
}

}  // namespace kestrune
