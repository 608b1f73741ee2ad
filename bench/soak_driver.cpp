// 200 test prints in one run of Quorvel.exe, driven by messages: its handle and GDI/USER object
// counts before and after, and every job's bytes as the capture listener saved them.
//   soak_driver QUORVEL_EXE CAPTURE_DIR PRINTS

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "fakes/expected_pages.h"
#include "window_driver.h"

namespace {

using namespace quorvel::testing;

struct Counts {
  DWORD handles = 0, gdi = 0, user = 0;
};

Counts Measure(DWORD processId) {
  Counts counts;
  HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
  if (process != nullptr) {
    ::GetProcessHandleCount(process, &counts.handles);
    counts.gdi = ::GetGuiResources(process, GR_GDIOBJECTS);
    counts.user = ::GetGuiResources(process, GR_USEROBJECTS);
    ::CloseHandle(process);
  }
  return counts;
}

bool PressAndConfirm(const RunningProgram& quorvel, HWND button) {
  ::PostMessageA(button, BM_CLICK, 0, 0);
  const std::optional<MessageBoxSeen> box = quorvel.WaitForMessageBox(20000);
  return box && box->text == "Executed" && CloseMessageBox(box->window);
}

std::string ReadCapture(const std::string& dir, int number) {
  char name[32];
  std::snprintf(name, sizeof name, "\\job-%06d.prn", number);
  for (int waited = 0; waited < 300; ++waited) {
    std::ifstream in(dir + name, std::ios::binary);
    if (in) {
      return std::string(std::istreambuf_iterator<char>(in), {});
    }
    Pause(100);
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: soak_driver QUORVEL_EXE CAPTURE_DIR PRINTS\n");
    return 2;
  }
  const int prints = std::atoi(argv[3]);
  const std::string captures = DosPath(argv[2]);
  RunningProgram quorvel(DosPath(argv[1]));
  HWND form1 = quorvel.WaitForWindow("Form1", 30000);
  HWND combo = form1 ? ::FindWindowExA(form1, nullptr, "ComboBox", nullptr) : nullptr;
  if (combo == nullptr) {
    std::fprintf(stderr, "soak_driver: Form1 did not show\n");
    return 1;
  }
  ::SendMessageA(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Virtual"));
  HWND buttons[] = {ChildByText(form1, "Button", "EpsonFX /  IBM Proprinter"),
                    ChildByText(form1, "Button", "PCL")};
  const std::string expected[] = {ExpectedDotMatrixJob(), ExpectedPclJob()};
  // One print of each first, so that lazily loaded parts of the spooler count as the start.
  PressAndConfirm(quorvel, buttons[0]);
  PressAndConfirm(quorvel, buttons[1]);
  const Counts before = Measure(quorvel.Id());
  for (int i = 0; i < prints; ++i) {
    if (!PressAndConfirm(quorvel, buttons[i % 2])) {
      std::fprintf(stderr, "soak_driver: print %d did not end in \"Executed\"\n", i + 1);
      return 1;
    }
  }
  const Counts after = Measure(quorvel.Id());
  int exact = 0;
  for (int i = 0; i < prints; ++i) {
    exact += ReadCapture(captures, i + 3) == expected[i % 2] ? 1 : 0;
  }
  std::printf(
      "prints %d, byte-exact jobs %d; handles %lu -> %lu, GDI objects %lu -> %lu, "
      "USER objects %lu -> %lu\n",
      prints, exact, before.handles, after.handles, before.gdi, after.gdi, before.user, after.user);
  const bool steady =
      after.handles <= before.handles && after.gdi <= before.gdi && after.user <= before.user;
  return exact == prints && steady ? 0 : 1;
}
