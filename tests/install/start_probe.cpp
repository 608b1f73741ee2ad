// Starts an installed window program as the Start menu would, waits for its main window, closes
// it as the user would (WM_CLOSE) and waits for the program to end.
//   quorvel_start_probe PROGRAM CAPTION
// Exit status 0 when the window showed and the program ended by itself, 1 otherwise.

#include <cstdio>

#include "window_driver.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: quorvel_start_probe PROGRAM CAPTION\n");
    return 2;
  }
  quorvel::testing::RunningProgram program(argv[1]);
  HWND window = program.WaitForWindow(argv[2], 60000);
  if (window == nullptr) {
    std::fprintf(stderr, "quorvel_start_probe: no window \"%s\" of %s\n", argv[2], argv[1]);
    return 1;
  }
  ::PostMessageA(window, WM_CLOSE, 0, 0);
  if (!program.WaitForExit(30000)) {
    std::fprintf(stderr, "quorvel_start_probe: %s did not end after WM_CLOSE\n", argv[1]);
    return 1;
  }
  std::printf("quorvel_start_probe: \"%s\" showed and closed\n", argv[2]);
  return 0;
}
