// How long one hint balloon takes to build (measure, size, mask, content, shadow, composite),
// as the median of 100 builds, and the wall time of one fade-in. Prints the measurement; never
// fails.
#include "base/win32/prelude.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "controls/hint_balloon_drawing.h"
#include "controls/hint_window.h"

namespace {

double WallSeconds() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return double(now.QuadPart) / double(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main() {
  using namespace kestrune;
  const HintKind kind = MainWindowHintKind();
  const UniqueFont font = CreateHintFont(kind);
  const std::wstring text = L"Запускать сервер при запуске программы";

  std::vector<double> builds;
  for (int i = 0; i < 100; ++i) {
    const double before = WallSeconds();
    const ComposedBalloon balloon =
        ComposeBalloon(kind, font.get(), text, {200, 200}, DesktopRect());
    builds.push_back(WallSeconds() - before);
  }

  THintWindow window(kind);
  std::vector<double> fades;
  for (int i = 0; i < 5; ++i) {
    const double before = WallSeconds();
    window.ActivateHint({200, 200}, text);
    fades.push_back(WallSeconds() - before);
    window.ReleaseHint();
  }

  std::printf("balloon build, median of 100  %.3f ms\n", Median(builds) * 1e3);
  std::printf("fade-in (31 x 8 ms), median of 5  %.1f ms\n", Median(fades) * 1e3);
  return 0;
}
