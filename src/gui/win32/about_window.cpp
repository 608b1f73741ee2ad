#include "gui/win32/about_window.h"

#include <string>

#include "about/about_layout.h"
#include "about/home_page.h"
#include "about/sys_info.h"
#include "common/error_report.h"
#include "gui/win32/resource_ids.h"

namespace quorvel::win32 {
namespace {

constexpr int kFirstControlId = 200;
constexpr int kIconPixels = 32;

}  // namespace

AboutWindow::AboutWindow(WindowHost& app, AboutServices services, MessageDisplay& messages,
                         HWND owner)
    : DesignedWindow(kAboutLayout, kFirstControlId, messages), app_(app), services_(services) {
  Create({kClassName, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
          WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, owner, nullptr});
}

void AboutWindow::OnControlsCreated() {
  icon_.Reset(
      static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_ABOUT),
                                      IMAGE_ICON, kIconPixels, kIconPixels, LR_DEFAULTCOLOR)));
  ::SendMessageA(Control("picIcon"), STM_SETICON, reinterpret_cast<WPARAM>(icon_.Get()), 0);
  ::SendMessageA(Control("cmdOK"), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void AboutWindow::OnCommand(int id, int code) {
  if (code != BN_CLICKED) {
    return;
  }
  // Enter without a focused button and Esc arrive as IDOK and IDCANCEL: both mean cmdOK.
  if (id == IDOK || id == IDCANCEL || id == ControlId("cmdOK")) {
    cmdOK_Click();
  } else if (id == ControlId("cmdSysInfo")) {
    cmdSysInfo_Click();
  } else if (id == ControlId("Command1")) {
    Command1_Click();
  }
}

void AboutWindow::cmdOK_Click() {
  ::DestroyWindow(Handle());
}

void AboutWindow::cmdSysInfo_Click() {
  RunHandler("Starting System Information", Messages(), [this] {
    StartSysInfo({services_.registry, services_.files, services_.processes, Messages()});
  });
}

void AboutWindow::Command1_Click() {
  RunHandler("Opening the home page", Messages(), [this] {
    OpenHomePage(std::string(kHomePage), services_.preferredBrowser, &services_.fallbackBrowser,
                 Messages());
  });
}

void AboutWindow::OnDestroyed() {
  app_.WindowClosed();
}

}  // namespace quorvel::win32
