// Draws both windows offscreen and saves them as PNG files for the documentation:
//   quorvel_qt_screenshot OUT_DIR  ->  OUT_DIR/qt-form1.png, OUT_DIR/qt-about.png
// Combo1 lists a sample of printers; nothing is printed.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>

#include "fakes/fakes.h"
#include "gui/qt/form1.h"

namespace {

bool Save(QWidget& window, const QDir& dir, const char* name) {
  const QString path = dir.filePath(QString::fromLatin1(name));
  if (!window.grab().save(path, "PNG")) {
    std::fprintf(stderr, "quorvel_qt_screenshot: cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: quorvel_qt_screenshot OUT_DIR\n");
    return 2;
  }
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  quorvel::testing::FakePrinterList printers({"Office-Laser", "Virtual", "Warehouse-Labels"},
                                             "Virtual");
  quorvel::testing::RecordingSpooler spooler;
  quorvel::testing::RecordingMessageDisplay messages;
  quorvel::testing::FakeFileLookup files;
  quorvel::testing::FakeProcessStarter processes;
  quorvel::testing::FakeBrowser browser;
  quorvel::qt::DesktopServices services{printers,  spooler, messages, files,
                                        processes, browser, {},       {}};
  quorvel::qt::Form1 form1(services, 96);
  form1.show();
  form1.About_Click();
  QApplication::processEvents();
  const bool saved = Save(form1, dir, "qt-form1.png") && Save(*form1.About(), dir, "qt-about.png");
  return saved ? 0 : 1;
}
