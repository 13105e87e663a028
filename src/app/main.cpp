#include "base/win32/prelude.h"

#include "app/main_window.h"
#include "base/win32/com_apartment.h"
#include "supervision/restart_history.h"
#include "tray/taskbar_created.h"
#include "ui/application.h"
#include "ui/failure_report.h"
#include "ui/failure_sink.h"

namespace {

// Every failure box goes into the restart history too.
void RecordFailureBox(const std::string& text) noexcept {
  try {
    kestrune::RestartHistory(&kestrune::RestartHistory::PathBesideExecutable)
        .Add("Failure box: " + text);
  } catch (...) {
    // No memory for the line: the box still shows.
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show_command) {
  using namespace kestrune;
  SetFailureReporter(&ReportFailure);
  SetFailureBoxObserver(&RecordFailureBox);
  try {
    TApplication application;
    RegisterTaskbarCreated(CommonControlsVersion());
    ComApartment com;
    try {
      application.SetTitle("Kestrune v0.1 Pre-Beta");
      application.CreateForm<TForm1>();
      application.Run(show_command);
    } catch (...) {
      // A failure outside every handler (the window could not be built): report it and end.
      DeliverCurrentFailure();
    }
  } catch (...) {
    return 1;  // not even the application window could be made: nothing can show a failure
  }
  return 0;
}
