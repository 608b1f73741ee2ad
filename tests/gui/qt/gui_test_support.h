#pragma once

// The Qt application the window tests share, on the offscreen platform (no display, 96 dpi), and
// a fixture holding recording fakes of every service the windows use.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include "fakes/fakes.h"
#include "gui/qt/desktop_services.h"

namespace quorvel::testing {

inline QApplication* gTestApplication = nullptr;

/// Creates the application on first use and deletes it after the last test, before the
/// program's static objects go (Qt's input devices must not outlive it).
class QtEnvironment : public ::testing::Environment {
 public:
  void TearDown() override {
    delete gTestApplication;
    gTestApplication = nullptr;
  }
};
inline ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

inline QApplication& TestApplication() {
  static int argc = 1;
  static char name[] = "quorvel_qt_tests";
  static char* argv[] = {name, nullptr};
  if (gTestApplication == nullptr) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    gTestApplication = new QApplication(argc, argv);
  }
  return *gTestApplication;
}

/// Runs what is pending, including the deletion of windows closed with WA_DeleteOnClose.
inline void Settle() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

template <typename Widget>
int CountTopLevel() {
  int count = 0;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (dynamic_cast<Widget*>(widget) != nullptr && widget->isVisible()) {
      ++count;
    }
  }
  return count;
}

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override { TestApplication(); }
  void TearDown() override { Settle(); }

  FakePrinterList printers{{"Office Laser", "Virtual", "Label Printer"}, "Virtual"};
  RecordingSpooler spooler;
  RecordingMessageDisplay messages;
  FakeFileLookup files;
  FakeProcessStarter processes;
  FakeBrowser browser;
  int endProgramCalls = 0;
  qt::DesktopServices services{
      printers,
      spooler,
      messages,
      files,
      processes,
      browser,
      {{"/usr/bin/hardinfo", ""}, {"/usr/bin/gnome-control-center", "info-overview"}},
      [this] { ++endProgramCalls; }};
};

}  // namespace quorvel::testing
