#include "base/win32/prelude.h"

#include <objbase.h>

#include "shell/application.h"
#include "shell/failure_report.h"
#include "shell/failure_sink.h"
#include "shell/main_window.h"

namespace {

// COM for the GUI thread as a single-threaded apartment, released once at the end when it came up.
class ComApartment {
 public:
  ComApartment() : initialized_(SUCCEEDED(::CoInitialize(nullptr))) {}
  ~ComApartment() {
    if (initialized_) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialized_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show_command) {
  using namespace kestrune;
  SetFailureReporter(&ReportFailure);
  try {
    TApplication application;
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
