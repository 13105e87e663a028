// Test programs that need the application object create it here, around every test, with the
// failure report installed and "TaskbarCreated" registered as the supervisor's start-up does.
#include <gtest/gtest.h>

#include "tray/taskbar_created.h"
#include "ui/application.h"
#include "ui/failure_report.h"
#include "ui/failure_sink.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  kestrune::TApplication application;
  application.SetTitle("Kestrune v0.1 Pre-Beta");
  kestrune::SetFailureReporter(&kestrune::ReportFailure);
  kestrune::RegisterTaskbarCreated(kestrune::CommonControlsVersion());
  return RUN_ALL_TESTS();
}
