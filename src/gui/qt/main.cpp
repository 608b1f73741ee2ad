// quorvel: the desktop program. Form1 opens centred; the program ends with "File" > "Exit" or
// when its last window is closed.
#include <QApplication>
#include <QCoreApplication>

#include "gui/qt/form1.h"
#include "gui/qt/window_builder.h"
#include "platform/platform.h"
#include "platform/qt/qt_browser.h"
#include "platform/qt/qt_file_lookup.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_process_starter.h"
#include "platform/qt/sys_info_tools.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quorvel"));
  // The desktop entry org.example.quorvel.desktop (and the AppStream entry with the same id).
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.quorvel"));

  const auto printerList = quorvel::platform::MakePrinterList();
  const auto spooler = quorvel::platform::MakeSpooler();
  quorvel::platform::QtMessageBox messages;
  quorvel::platform::QtFileLookup files;
  quorvel::platform::QtProcessStarter processes;
  quorvel::platform::QtBrowser browser;
  quorvel::qt::DesktopServices services{*printerList,
                                        *spooler,
                                        messages,
                                        files,
                                        processes,
                                        browser,
                                        quorvel::platform::LinuxSysInfoTools(),
                                        [] { QCoreApplication::exit(0); }};

  quorvel::qt::Form1 form1(services, quorvel::qt::LogicalDpi());
  form1.ShowCentred();
  return QApplication::exec();
}
