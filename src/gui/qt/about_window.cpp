#include "gui/qt/about_window.h"

#include <QLabel>
#include <string>

#include "about/about_layout.h"
#include "about/home_page.h"
#include "common/error_report.h"
#include "gui/qt/artwork.h"
#include "gui/qt/window_builder.h"

namespace quorvel::qt {
namespace {

// A fixed dialog frame: title bar with a close box only.
constexpr Qt::WindowFlags kFixedDialogFrame = Qt::Dialog | Qt::CustomizeWindowHint |
                                              Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                              Qt::MSWindowsFixedSizeDialogHint;

}  // namespace

AboutWindow::AboutWindow(DesktopServices& services, int dpi)
    : QDialog(nullptr, kFixedDialogFrame), services_(services) {
  setObjectName(QStringLiteral("frmAbout"));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setWindowTitle(QString::fromUtf8(kAboutLayout.caption.data(),
                                   static_cast<qsizetype>(kAboutLayout.caption.size())));
  setFixedSize(TwipsToPixels(kAboutLayout.clientWidth, dpi),
               TwipsToPixels(kAboutLayout.clientHeight, dpi));
  BuildControls(kAboutLayout, this, dpi);

  findChild<QLabel*>(QStringLiteral("picIcon"))->setPixmap(AboutIcon());
  auto* ok = findChild<QPushButton*>(QStringLiteral("cmdOK"));
  auto* sysInfo = findChild<QPushButton*>(QStringLiteral("cmdSysInfo"));
  auto* homePage = findChild<QPushButton*>(QStringLiteral("Command1"));
  // cmdOK is the default button (Enter); Esc closes the dialog as cmdOK does.
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
  connect(sysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });
  connect(homePage, &QPushButton::clicked, this, [this] { Command1_Click(); });
  ok->setFocus();
}

void AboutWindow::cmdOK_Click() {
  close();
}

void AboutWindow::cmdSysInfo_Click() {
  RunHandler("Starting the system information tool", services_.messages, [this] {
    StartSysInfoFrom(services_.sysInfoTools, services_.files, services_.processes,
                     services_.messages);
  });
}

void AboutWindow::Command1_Click() {
  RunHandler("Opening the home page", services_.messages, [this] {
    OpenHomePage(std::string(kHomePage), services_.browser, nullptr, services_.messages);
  });
}

}  // namespace quorvel::qt
