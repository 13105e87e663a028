// The watchdog measured, never asserted: how soon a server that ended runs again, how often a
// server that ends at once is launched, and what supervising a healthy server costs.
#include "base/win32/prelude.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "../tests/win32/test_support.h"
#include "supervision/supervisor.h"
#include "ui/application.h"

namespace {

using namespace kestrune;

double CpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto seconds = [](const FILETIME& time) {
    return double((ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

// Runs the message loop for `ms`, waking only for messages, as the application's loop does.
void RunLoopFor(ULONGLONG ms) {
  const ULONGLONG deadline = GetTickCount64() + ms;
  for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(deadline - now), QS_ALLINPUT);
    Application().PumpPendingMessages();
  }
}

struct Bench {
  explicit Bench(const std::string& params, const char* delay)
      : supervisor(
            window, Application(), nullptr, [this] { return dir.File("KTN-Serv.ini"); },
            [this] { return dir.File("KTN-Serv.log"); }) {
    supervisor.SetClock([this] { return std::chrono::milliseconds(GetTickCount64()) + moved; });
    test_support::InstallStandinTool(dir, "timeout-ms 500\n");
    window.fields = {{SettingField::kServerPath, test_support::InstallStandinServer(dir)},
                     {SettingField::kAdditionalParams, params},
                     {SettingField::kQueryToolPath, dir.File("qstat.exe")},
                     {SettingField::kQueryIp, "127.0.0.1"},
                     {SettingField::kQueryPort, "27711"},
                     {SettingField::kDelay, delay}};
  }
  ~Bench() {
    supervisor.StopSupervision();
    test_support::EndStandins(dir);
  }
  DWORD Pid() { return supervisor.Server().ServerProcessInfo().dwProcessId; }

  test_support::TempDir dir;
  test_support::FakeWindow window;
  std::chrono::milliseconds moved{0};
  Supervisor supervisor;
};

void ExitToRelaunch() {
  Bench bench("-port 27711", "600");
  bench.supervisor.StartSupervision();
  std::vector<double> seconds;
  for (int run = 0; run < 10; ++run) {
    bench.moved += std::chrono::seconds(61);  // a long run: its end is no quick failure
    const DWORD pid = bench.Pid();
    const UniqueHandle server(OpenProcess(PROCESS_TERMINATE, FALSE, pid));
    const ULONGLONG start = GetTickCount64();
    TerminateProcess(server.get(), 3);
    test_support::PumpUntil([&] { return bench.Pid() != pid; }, 30000);
    seconds.push_back(double(GetTickCount64() - start) / 1000);
  }
  std::sort(seconds.begin(), seconds.end());
  std::printf("exit to next start, median of 10   %.3f s (fastest %.3f, slowest %.3f)\n",
              (seconds[4] + seconds[5]) / 2, seconds.front(), seconds.back());
}

void QuickFailures() {
  Bench bench("-port 27712 -exit-after 0", "1");
  bench.supervisor.StartSupervision();
  RunLoopFor(60000);
  std::printf("launches in 60 s of a server that ends at once, delay 1   %zu\n",
              test_support::ReadServerRecords(bench.dir).size());
}

void IdleCost() {
  Bench bench("-port 27711", "5");
  bench.supervisor.StartSupervision();
  const double cpu_before = CpuSeconds();
  const ULONGLONG wall_before = GetTickCount64();
  RunLoopFor(60000);
  const double wall = double(GetTickCount64() - wall_before) / 1000;
  const double cpu = CpuSeconds() - cpu_before;
  std::printf(
      "supervisor CPU / wall, healthy server at delay 5 for 60 s   %.5f (%.3f s of %.1f s)\n",
      cpu / wall, cpu, wall);
}

}  // namespace

int main() {
  TApplication application;
  ExitToRelaunch();
  QuickFailures();
  IdleCost();
  return 0;
}
