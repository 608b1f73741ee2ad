// Starts an installed window program as the Start menu would, waits for its main window, closes
// it as the user would (WM_CLOSE) and waits for the program to end. With a command line after the
// caption, runs that command while the window shows, waits for it and prints its exit code
// ("exit code N") before closing the window: an uninstaller tried while the program runs.
//   quorvel_start_probe PROGRAM CAPTION [COMMAND_LINE]
// Exit status 0 when the window showed and the program ended by itself, 1 otherwise.

#include <cstdio>
#include <string>

#include "window_driver.h"

namespace {

// Runs `commandLine` to its end; its exit code, or -1 when it did not start.
long RunToEnd(std::string commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
    return -1;
  }
  quorvel::win32::UniqueKernelHandle process(info.hProcess);
  quorvel::win32::UniqueKernelHandle thread(info.hThread);
  ::WaitForSingleObject(info.hProcess, INFINITE);
  DWORD code = 0;
  ::GetExitCodeProcess(info.hProcess, &code);
  return static_cast<long>(code);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: quorvel_start_probe PROGRAM CAPTION [COMMAND_LINE]\n");
    return 2;
  }
  quorvel::testing::RunningProgram program(argv[1]);
  HWND window = program.WaitForWindow(argv[2], 60000);
  if (window == nullptr) {
    std::fprintf(stderr, "quorvel_start_probe: no window \"%s\" of %s\n", argv[2], argv[1]);
    return 1;
  }
  if (argc == 4) {
    std::printf("exit code %ld\n", RunToEnd(argv[3]));
    std::fflush(stdout);
  }
  ::PostMessageA(window, WM_CLOSE, 0, 0);
  if (!program.WaitForExit(30000)) {
    std::fprintf(stderr, "quorvel_start_probe: %s did not end after WM_CLOSE\n", argv[1]);
    return 1;
  }
  std::printf("quorvel_start_probe: \"%s\" showed and closed\n", argv[2]);
  return 0;
}
