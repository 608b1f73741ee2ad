// Quorvel.exe: starts with Form1 and runs until its last window closes or "File" > "Exit".

#include <exception>

#include "common/error_report.h"
#include "gui/win32/application.h"
#include "platform/win32/win32_error.h"

#include <commctrl.h>
#include <ole2.h>

namespace {

// COM for the browser's automation object, on the one user-interface thread.
class OleSession {
 public:
  OleSession() : initialised_(SUCCEEDED(::OleInitialize(nullptr))) {}
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;
  ~OleSession() {
    if (initialised_) {
      ::OleUninitialize();
    }
  }

 private:
  bool initialised_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  OleSession ole;
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
