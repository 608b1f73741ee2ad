#pragma once

#include <QDialog>
#include <QPushButton>

#include "gui/qt/desktop_services.h"

namespace quorvel::qt {

/// frmAbout: name, version and description, the home page button and the system information
/// launcher. Modeless and without an owner; it deletes itself when closed.
class AboutWindow : public QDialog {
 public:
  AboutWindow(DesktopServices& services, int dpi);

  void cmdOK_Click();
  void cmdSysInfo_Click();
  void Command1_Click();

 private:
  DesktopServices& services_;
};

}  // namespace quorvel::qt
