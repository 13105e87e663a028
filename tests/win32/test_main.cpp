// Test programs that need the application object create it here, around every test, with the
// failure report installed as it is in the supervisor.
#include <gtest/gtest.h>

#include "shell/application.h"
#include "shell/failure_report.h"
#include "shell/failure_sink.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  kestrune::TApplication application;
  application.SetTitle("Kestrune v0.1 Pre-Beta");
  kestrune::SetFailureReporter(&kestrune::ReportFailure);
  return RUN_ALL_TESTS();
}
