// How much processor time the supervisor spends while one check waits for a query tool that runs
// for several seconds, against the wall time of that wait. Prints the measurement; never fails.
#include "base/win32/prelude.h"

#include <cstdio>

#include "../tests/win32/test_support.h"
#include "ui/application.h"
#include "supervision/tool_runner.h"

namespace {

double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto seconds = [](const FILETIME& time) {
    return double((ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

double WallSeconds() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return double(now.QuadPart) / double(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kestrune;
  const int tool_ms = argc > 1 ? std::atoi(argv[1]) : 5000;
  TApplication application;
  test_support::TempDir dir;
  test_support::InstallStandinTool(dir,
                                   "sleep-ms " + std::to_string(tool_ms) + "\ntimeout-ms 200\n");
  // A timer keeps messages arriving during the wait, as the check timer and repaints do.
  SetTimer(nullptr, 0, 100, nullptr);

  const double cpu_before = ProcessCpuSeconds();
  const double wall_before = WallSeconds();
  const int exit_code =
      RunToolAndWait(application, application.Handle(), "qstat.exe",
                     " -of query.txt -P -a2s 127.0.0.1:27599", dir.Path(), kShowHidden)
          .exit_code;
  const double wall = WallSeconds() - wall_before;
  const double cpu = ProcessCpuSeconds() - cpu_before;

  std::printf("tool exit code     %d\n", exit_code);
  std::printf("wall time of wait  %.3f s\n", wall);
  std::printf("supervisor CPU     %.3f s\n", cpu);
  std::printf("CPU / wall         %.5f\n", wall > 0 ? cpu / wall : 0.0);
  return 0;
}
