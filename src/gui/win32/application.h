#pragma once

#include <memory>

#include "gui/win32/about_window.h"
#include "gui/win32/form1.h"
#include "platform/win32/dispatch_browser.h"
#include "platform/win32/win32_about_services.h"

namespace quorvel::win32 {

/// The program: its services, Form1, the one shared About window and the message loop. It ends
/// when "File" > "Exit" is chosen or when its last window has closed.
class Application : public WindowHost {
 public:
  Application();
  ~Application() override;
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  /// Pumps messages until the program ends; returns the exit code.
  int Run();
  void ShowAbout() override;
  void Exit() override;
  void WindowClosed() override;

 private:
  bool AnyWindowOpen() const;

  MessageBoxDisplay messages_;
  std::unique_ptr<PrinterList> printerList_;
  std::unique_ptr<Spooler> spooler_;
  Win32Registry registry_;
  Win32FileLookup files_;
  Win32ProcessStarter processes_;
  DispatchBrowser classicBrowser_;
  ShellBrowser defaultBrowser_;
  UniqueIcon icon_;
  UniqueWindow hiddenOwner_;
  std::unique_ptr<Form1> form1_;
  std::unique_ptr<AboutWindow> about_;
};

}  // namespace quorvel::win32
