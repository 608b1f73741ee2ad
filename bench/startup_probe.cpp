// Start-up time of a window program: from CreateProcess to its window being visible, median of
// several runs; Quorvel.exe and the baseline alternate so that both see the same machine. Also
// says how many printers each program's combo box holds when its window shows.
//   startup_probe QUORVEL_EXE BASELINE_EXE RUNS

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "window_driver.h"

namespace {

constexpr DWORD kPollMilliseconds = 5;  // finer than the test driver's 50 ms: the steps are small
constexpr ULONGLONG kGiveUpMilliseconds = 30000;

struct Start {
  double milliseconds = -1;    // to the window shown; -1 when it never showed
  double cpuMilliseconds = 0;  // its CPU time (user and kernel) by then, in Wine's 10 ms ticks
  LRESULT printers = -1;       // entries of the window's combo box then
};

HWND WaitForWindow(const quorvel::testing::RunningProgram& running, const std::string& caption) {
  const ULONGLONG end = ::GetTickCount64() + kGiveUpMilliseconds;
  while (::GetTickCount64() < end) {
    const std::vector<HWND> windows = running.TopWindows(caption);
    if (!windows.empty()) {
      return windows.front();
    }
    ::Sleep(kPollMilliseconds);
  }
  return nullptr;
}

Start TimeToWindow(const std::string& program, const std::string& caption) {
  LARGE_INTEGER frequency, start, shown;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  Start result;
  quorvel::testing::RunningProgram running(program);
  HWND window = WaitForWindow(running, caption);
  ::QueryPerformanceCounter(&shown);
  if (window == nullptr) {
    return result;
  }
  result.milliseconds = 1000.0 * static_cast<double>(shown.QuadPart - start.QuadPart) /
                        static_cast<double>(frequency.QuadPart);
  FILETIME created, exited, kernel, user;
  if (::GetProcessTimes(running.Process(), &created, &exited, &kernel, &user)) {
    const auto ticks = [](const FILETIME& t) {
      return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) |
                                 t.dwLowDateTime);
    };
    result.cpuMilliseconds = (ticks(kernel) + ticks(user)) / 10000.0;  // 100 ns ticks
  }
  HWND combo = ::FindWindowExA(window, nullptr, "COMBOBOX", nullptr);
  result.printers = combo != nullptr ? ::SendMessageA(combo, CB_GETCOUNT, 0, 0) : -1;
  ::PostMessageA(window, WM_CLOSE, 0, 0);
  running.WaitForExit(10000);
  return result;
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
  std::vector<double> quorvelTimes, baselineTimes, quorvelCpu, baselineCpu;
  TimeToWindow(baseline, "Baseline");  // warm-up: loads the system DLLs once
  LRESULT quorvelPrinters = -1, baselinePrinters = -1;
  // The order swaps every run: neither program always follows the other's exit.
  for (int run = 0; run < runs; ++run) {
    Start b, q;
    if (run % 2 == 0) {
      b = TimeToWindow(baseline, "Baseline");
      q = TimeToWindow(quorvel, "Form1");
    } else {
      q = TimeToWindow(quorvel, "Form1");
      b = TimeToWindow(baseline, "Baseline");
    }
    if (b.milliseconds < 0 || q.milliseconds < 0) {
      std::fprintf(stderr, "startup_probe: a window did not show\n");
      return 1;
    }
    baselineTimes.push_back(b.milliseconds);
    quorvelTimes.push_back(q.milliseconds);
    baselineCpu.push_back(b.cpuMilliseconds);
    quorvelCpu.push_back(q.cpuMilliseconds);
    baselinePrinters = b.printers;
    quorvelPrinters = q.printers;
  }
  const double q = Median(quorvelTimes), b = Median(baselineTimes);
  std::printf("runs %d, median ms to window: Quorvel.exe %.0f, baseline %.0f, ratio %.2f\n", runs,
              q, b, q / b);
  const auto [qMin, qMax] = std::minmax_element(quorvelTimes.begin(), quorvelTimes.end());
  const auto [bMin, bMax] = std::minmax_element(baselineTimes.begin(), baselineTimes.end());
  std::printf("range ms: Quorvel.exe %.0f-%.0f, baseline %.0f-%.0f\n", *qMin, *qMax, *bMin, *bMax);
  const double qc = Median(quorvelCpu), bc = Median(baselineCpu);
  std::printf("median CPU ms by then: Quorvel.exe %.1f, baseline %.1f, ratio %.2f\n", qc, bc,
              bc > 0 ? qc / bc : 0.0);
  std::printf("printers listed when shown: Quorvel.exe %ld, baseline %ld\n",
              static_cast<long>(quorvelPrinters), static_cast<long>(baselinePrinters));
  return 0;
}
