#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "about/about_layout.h"
#include "common/messages.h"
#include "gui/qt/about_window.h"
#include "gui_test_support.h"

namespace quorvel::testing {
namespace {

using AboutWindowTest = GuiTest;

// Opens a fresh About window, shown and active, as Form1 does.
QPointer<qt::AboutWindow> Open(qt::DesktopServices& services) {
  QPointer<qt::AboutWindow> about = new qt::AboutWindow(services, 96);
  about->show();
  QApplication::setActiveWindow(about);
  EXPECT_TRUE(QTest::qWaitForWindowActive(about, 5000));
  return about;
}

QString FocusName() {
  return QApplication::focusWidget() != nullptr ? QApplication::focusWidget()->objectName()
                                                : QString();
}

TEST_F(AboutWindowTest, CaptionFrameAndControlsAt96Dpi) {
  QPointer<qt::AboutWindow> about = Open(services);
  EXPECT_EQ(about->windowTitle(), "About MyApp");
  EXPECT_EQ(about->size(), QSize(382, 237));
  EXPECT_EQ(about->minimumSize(), about->maximumSize());  // fixed dialog frame
  EXPECT_FALSE(about->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(about->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(about->isModal());
  EXPECT_EQ(about->parentWidget(), nullptr);
  struct Case {
    const char* name;
    QRect pixels;
    QString text;  // buttons and labels
  };
  const Case cases[] = {
      {"Command1", {64, 192, 201, 33}, QString::fromUtf8(QUORVEL_HOME_PAGE)},
      {"picIcon", {16, 16, 36, 36}, ""},
      {"cmdOK", {283, 175, 84, 23}, "OK"},
      {"cmdSysInfo", {284, 205, 83, 23}, "&System Info..."},
      {"Line1(1)", {6, 163, 371, 1}, ""},
      {"lblDescription",
       {70, 75, 259, 78},
       "Send teststring to printer to check its Barcode ability. "},
      {"lblTitle", {70, 16, 259, 32}, "Quorvel"},
      {"Line1(0)", {7, 164, 370, 2}, ""},
      {"lblVersion", {70, 52, 259, 15}, "Version 1.0"},
  };
  for (const Case& c : cases) {
    QWidget* control = about->findChild<QWidget*>(c.name);
    ASSERT_NE(control, nullptr) << c.name;
    EXPECT_EQ(control->geometry(), c.pixels) << c.name;
    if (auto* button = qobject_cast<QPushButton*>(control)) {
      EXPECT_EQ(button->text(), c.text) << c.name;
    } else if (auto* label = qobject_cast<QLabel*>(control); label && !c.text.isEmpty()) {
      EXPECT_EQ(label->text(), c.text) << c.name;
    }
  }
  about->close();
}

TEST_F(AboutWindowTest, FocusStartsOnOkAndTabsInOrder) {
  QPointer<qt::AboutWindow> about = Open(services);
  QStringList order;
  for (int i = 0; i < 5; ++i) {
    order << FocusName();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  EXPECT_EQ(order, (QStringList{"cmdOK", "picIcon", "cmdSysInfo", "Command1", "cmdOK"}));
  about->close();
}

TEST_F(AboutWindowTest, EnterAndEscClose) {
  struct Case {
    int tabs;  // from cmdOK
    Qt::Key key;
    bool closes;
  };
  const Case cases[] = {
      {0, Qt::Key_Return, true},  {1, Qt::Key_Return, true},   // picIcon: the default button
      {2, Qt::Key_Return, false}, {3, Qt::Key_Return, false},  // the focused button instead
      {0, Qt::Key_Escape, true},  {3, Qt::Key_Escape, true},
  };
  for (const Case& c : cases) {
    QPointer<qt::AboutWindow> about = Open(services);
    for (int i = 0; i < c.tabs; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QTest::keyClick(QApplication::focusWidget(), c.key);
    Settle();
    EXPECT_EQ(about.isNull(), c.closes) << c.tabs << " tabs, key " << c.key;
    if (about) {
      about->close();
      Settle();
    }
  }
  // Enter on cmdSysInfo (no tool installed) and on the home page button did their work.
  EXPECT_EQ(messages.shown, (std::vector<std::string>{std::string(kSysInfoUnavailable)}));
  EXPECT_EQ(browser.navigated, (std::vector<std::string>{QUORVEL_HOME_PAGE}));
}

TEST_F(AboutWindowTest, SystemInfoStartsTheFirstInstalledTool) {
  struct Case {
    std::set<std::string> installed;
    bool startFails;
    std::vector<std::string> started;
    std::vector<std::string> shown;
  };
  const std::string unavailable(kSysInfoUnavailable);
  const Case cases[] = {
      {{}, false, {}, {unavailable}},
      {{"/usr/bin/gnome-control-center"},
       false,
       {"/usr/bin/gnome-control-center info-overview"},
       {}},
      {{"/usr/bin/hardinfo", "/usr/bin/gnome-control-center"}, false, {"/usr/bin/hardinfo"}, {}},
      {{"/usr/bin/hardinfo"}, true, {"/usr/bin/hardinfo"}, {unavailable}},
  };
  for (const Case& c : cases) {
    files.normalFiles = c.installed;
    processes.fails = c.startFails;
    processes.started.clear();
    messages.shown.clear();
    QPointer<qt::AboutWindow> about = Open(services);
    QTest::mouseClick(about->findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);
    EXPECT_EQ(processes.started, c.started);
    EXPECT_EQ(messages.shown, c.shown);
    EXPECT_TRUE(about->isVisible());
    about->close();
    Settle();
  }
}

TEST_F(AboutWindowTest, HomePageOpensAndAFailureIsReported) {
  QPointer<qt::AboutWindow> about = Open(services);
  QTest::mouseClick(about->findChild<QPushButton*>("Command1"), Qt::LeftButton);
  QTest::mouseClick(about->findChild<QPushButton*>("Command1"), Qt::LeftButton);
  EXPECT_EQ(browser.navigated, (std::vector<std::string>{QUORVEL_HOME_PAGE, QUORVEL_HOME_PAGE}));
  EXPECT_TRUE(messages.shown.empty());

  browser.fails = true;
  QTest::mouseClick(about->findChild<QPushButton*>("Command1"), Qt::LeftButton);
  EXPECT_EQ(messages.shown,
            (std::vector<std::string>{"Opening the home page failed.\nNavigate: no browser"}));
  EXPECT_TRUE(about->isVisible());
  about->close();
}

}  // namespace
}  // namespace quorvel::testing
