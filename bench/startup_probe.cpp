// Start-up time of a window program: from CreateProcess to its window being visible, median of
// several runs; Quorvel.exe and the baseline alternate so that both see the same machine.
//   startup_probe QUORVEL_EXE BASELINE_EXE RUNS

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "window_driver.h"

namespace {

double MillisecondsToWindow(const std::string& program, const char* caption) {
  LARGE_INTEGER frequency, start, shown;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  HWND window = nullptr;
  {
    quorvel::testing::RunningProgram running(program);
    window = running.WaitForWindow(caption, 30000);
    ::QueryPerformanceCounter(&shown);
    if (window != nullptr) {
      ::PostMessageA(window, WM_CLOSE, 0, 0);
      running.WaitForExit(10000);
    }
  }
  if (window == nullptr) {
    return -1;
  }
  return 1000.0 * static_cast<double>(shown.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: startup_probe QUORVEL_EXE BASELINE_EXE RUNS\n");
    return 2;
  }
  const std::string quorvel = quorvel::testing::DosPath(argv[1]);
  const std::string baseline = quorvel::testing::DosPath(argv[2]);
  const int runs = std::max(1, std::atoi(argv[3]));
  std::vector<double> quorvelTimes, baselineTimes;
  MillisecondsToWindow(baseline, "Baseline");  // warm-up: loads the system DLLs once
  for (int run = 0; run < runs; ++run) {
    baselineTimes.push_back(MillisecondsToWindow(baseline, "Baseline"));
    quorvelTimes.push_back(MillisecondsToWindow(quorvel, "Form1"));
    if (baselineTimes.back() < 0 || quorvelTimes.back() < 0) {
      std::fprintf(stderr, "startup_probe: a window did not show\n");
      return 1;
    }
  }
  const double q = Median(quorvelTimes), b = Median(baselineTimes);
  std::printf("runs %d, median ms to window: Quorvel.exe %.0f, baseline %.0f, ratio %.2f\n", runs,
              q, b, q / b);
  return 0;
}
