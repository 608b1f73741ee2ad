// Quorvel.exe: starts with Form1 and runs until its last window closes or "File" > "Exit".

#include <exception>

#include "common/error_report.h"
#include "gui/win32/application.h"
#include "platform/win32/win32_error.h"

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  quorvel::win32::MessageBoxDisplay messages;
  int exitCode = 1;
  quorvel::RunHandler("Starting Quorvel", messages, [&] {
    quorvel::win32::Application application;
    exitCode = application.Run();
  });
  return exitCode;
}
