#pragma once

#include "about/about_services.h"
#include "gui/win32/designed_window.h"
#include "gui/win32/window_host.h"

namespace quorvel::win32 {

/// What the About window's buttons work with.
struct AboutServices {
  Registry& registry;
  FileLookup& files;
  ProcessStarter& processes;
  Browser& preferredBrowser;  // the classic browser's automation object
  Browser& fallbackBrowser;   // the desktop's default browser
};

/// `frmAbout`: a fixed dialog, owned by a hidden window so that it has no task bar button and no
/// tie to Form1. cmdOK is its default and its cancel button.
class AboutWindow : public DesignedWindow {
 public:
  static constexpr const char* kClassName = "QuorvelAbout";

  AboutWindow(WindowHost& app, AboutServices services, MessageDisplay& messages, HWND owner);

 private:
  void OnControlsCreated() override;
  void OnCommand(int id, int code) override;
  int DefaultButtonId() const override { return ControlId("cmdOK"); }
  void OnDestroyed() override;

  void cmdOK_Click();
  void cmdSysInfo_Click();
  void Command1_Click();

  WindowHost& app_;
  AboutServices services_;
  UniqueIcon icon_;
};

}  // namespace quorvel::win32
