#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "common/messages.h"
#include "gui/qt/form1.h"
#include "gui_test_support.h"

namespace quorvel::testing {
namespace {

using Form1PrintTest = GuiTest;

std::vector<std::string> SentJob(const std::string& write, const std::string& printer = "Virtual") {
  return {"Open " + printer,
          "StartDocument Command Print",
          "StartPage",
          write,
          "EndPage",
          "EndDocument",
          "Close"};
}

void Click(qt::Form1& form, const char* button) {
  QTest::mouseClick(form.findChild<QPushButton*>(button), Qt::LeftButton);
}

void Type(qt::Form1& form, const QString& text) {
  QComboBox* combo = form.findChild<QComboBox*>("Combo1");
  combo->lineEdit()->clear();
  QTest::keyClicks(combo->lineEdit(), text);
}

TEST_F(Form1PrintTest, EveryMessagePath) {
  struct Case {
    const char* button;
    QString typed;  // empty: keep the default printer shown at start-up
    bool openSucceeds;
    std::string failAt;
    std::vector<std::string> calls;
    std::vector<std::string> shown;
  };
  const std::string failed = std::string(kSendFailed) + "\nWrite: the spooler said no";
  const Case cases[] = {
      {"Command1", "", true, "", SentJob("Write 1154"), {"Executed"}},
      {"Command2", "", true, "", SentJob("Write 441"), {"Executed"}},
      {"Command1", "Label Printer", true, "", SentJob("Write 1154", "Label Printer"), {"Executed"}},
      {"Command1", "virtual", true, "", {}, {std::string(kNotRecognized)}},
      {"Command2", "Virtual ", true, "", {}, {std::string(kNotRecognized)}},
      {"Command1", "", false, "", {"Open Virtual"}, {std::string(kNotRecognized)}},
      {"Command1",
       "",
       true,
       "Write",
       {"Open Virtual", "StartDocument Command Print", "StartPage", "Write 1154", "Cancel",
        "Close"},
       {failed}},
  };
  for (const Case& c : cases) {
    spooler.calls.clear();
    spooler.openSucceeds = c.openSucceeds;
    spooler.failAt = c.failAt;
    messages.shown.clear();
    qt::Form1 form(services, 96);
    if (!c.typed.isEmpty()) {
      Type(form, c.typed);
    }
    Click(form, c.button);
    EXPECT_EQ(spooler.calls, c.calls) << c.button << " " << c.typed.toStdString();
    EXPECT_EQ(messages.shown, c.shown) << c.button << " " << c.typed.toStdString();
  }
}

TEST_F(Form1PrintTest, TypedTextIsKeptExactly) {
  qt::Form1 form(services, 96);
  QComboBox* combo = form.findChild<QComboBox*>("Combo1");
  EXPECT_EQ(combo->completer(), nullptr);
  Type(form, "virt");
  EXPECT_EQ(combo->currentText(), "virt");
  Type(form, "virtual");
  EXPECT_EQ(combo->currentText(), "virtual");
}

TEST_F(Form1PrintTest, EnterAndEscInCombo1StartNoPrint) {
  qt::Form1 form(services, 96);
  form.show();
  QLineEdit* edit = form.findChild<QComboBox*>("Combo1")->lineEdit();
  Type(form, "Virtual");
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
    QTest::keyClick(edit, key);
  }
  QTest::keyClick(form.findChild<QPushButton*>("Command1"), Qt::Key_Return);
  EXPECT_TRUE(spooler.calls.empty());
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(form.findChild<QComboBox*>("Combo1")->count(), 3);  // Enter adds nothing
  EXPECT_TRUE(form.isVisible());
}

// A spooler that, while the job is being written, notes the cursor and clicks both buttons again.
class ReentrantSpooler : public RecordingSpooler {
 public:
  std::size_t Write(std::string_view bytes) override {
    const QCursor* cursor = QApplication::overrideCursor();
    waitCursor = cursor != nullptr && cursor->shape() == Qt::WaitCursor;
    form->Command2_Click();
    QTest::mouseClick(form->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    return RecordingSpooler::Write(bytes);
  }
  qt::Form1* form = nullptr;
  bool waitCursor = false;
};

TEST_F(Form1PrintTest, BusyWhileSendingAndFurtherClicksIgnored) {
  ReentrantSpooler busySpooler;
  qt::DesktopServices withBusy{printers, busySpooler, messages, files, processes, browser, {}, {}};
  qt::Form1 form(withBusy, 96);
  busySpooler.form = &form;
  Click(form, "Command1");
  EXPECT_TRUE(busySpooler.waitCursor);
  EXPECT_EQ(busySpooler.calls, SentJob("Write 1154"));
  EXPECT_EQ(messages.shown, (std::vector<std::string>{"Executed"}));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

class FailingPrinterList : public FakePrinterList {
 public:
  using FakePrinterList::FakePrinterList;
  std::vector<std::string> DeviceNames() override {
    if (fails) {
      throw PlatformError("CUPS-Get-Printers", "the scheduler is not responding");
    }
    return FakePrinterList::DeviceNames();
  }
  // SelectPrinter asks for the one name: a scheduler that does not answer fails that as well.
  bool HasDeviceName(const std::string& deviceName) override {
    if (fails) {
      throw PlatformError("CUPS-Get-Printers", "the scheduler is not responding");
    }
    return FakePrinterList::HasDeviceName(deviceName);
  }
  bool fails = true;
};

TEST_F(Form1PrintTest, UntrappedErrorsAreReportedAndTheProgramGoesOn) {
  FailingPrinterList failing({"Virtual"}, "Virtual");
  qt::DesktopServices withFailing{failing, spooler, messages, files, processes, browser, {}, {}};
  qt::Form1 form(withFailing, 96);
  Click(form, "Command1");
  EXPECT_EQ(messages.shown,
            (std::vector<std::string>{
                "Reading the installed printers failed.\nCUPS-Get-Printers: the scheduler is not "
                "responding",
                "Sending the dot-matrix test page failed.\nCUPS-Get-Printers: the scheduler is "
                "not responding"}));
  failing.fails = false;  // the scheduler answers again: the next click prints
  Type(form, "Virtual");
  Click(form, "Command2");
  EXPECT_EQ(spooler.calls, SentJob("Write 441"));
  EXPECT_EQ(messages.shown.back(), "Executed");
}

TEST_F(Form1PrintTest, OneAboutWindowFromMenuAndLogo) {
  qt::Form1 form(services, 96);
  form.show();
  form.findChild<QAction*>("About")->trigger();
  qt::AboutWindow* first = form.About();
  ASSERT_NE(first, nullptr);
  QTest::mouseClick(form.findChild<QLabel*>("Image1"), Qt::LeftButton);
  form.findChild<QAction*>("About")->trigger();
  EXPECT_EQ(form.About(), first);
  EXPECT_EQ(CountTopLevel<qt::AboutWindow>(), 1);
  EXPECT_TRUE(form.isVisible());  // modeless: Form1 stays usable

  first->cmdOK_Click();
  Settle();
  EXPECT_EQ(form.About(), nullptr);
  EXPECT_EQ(CountTopLevel<qt::AboutWindow>(), 0);
  QTest::mouseClick(form.findChild<QLabel*>("Image1"), Qt::LeftButton);
  EXPECT_EQ(CountTopLevel<qt::AboutWindow>(), 1);
}

TEST_F(Form1PrintTest, ClosingForm1LeavesTheAboutWindowOpen) {
  qt::Form1 form(services, 96);
  form.show();
  form.About_Click();
  form.close();
  Settle();
  EXPECT_FALSE(form.isVisible());
  ASSERT_NE(form.About(), nullptr);
  EXPECT_TRUE(form.About()->isVisible());
  EXPECT_EQ(endProgramCalls, 0);
}

TEST_F(Form1PrintTest, ExitClosesEveryWindowAndEndsTheProgram) {
  qt::Form1 form(services, 96);
  form.show();
  form.About_Click();
  form.findChild<QAction*>("Exit")->trigger();
  Settle();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.About(), nullptr);
  EXPECT_EQ(CountTopLevel<qt::AboutWindow>(), 0);
  EXPECT_EQ(endProgramCalls, 1);
}

// The program's own way of ending: "Exit" leaves the running event loop at once.
TEST_F(Form1PrintTest, ExitEndsTheRunningEventLoop) {
  qt::DesktopServices quitting = services;
  quitting.endProgram = [] { QCoreApplication::exit(0); };
  qt::Form1 form(quitting, 96);
  form.show();
  form.About_Click();
  QTimer::singleShot(0, &form, [&form] { form.findChild<QAction*>("Exit")->trigger(); });
  QTimer guard;  // bounds the wait should Exit not end the loop
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  guard.start(10000);
  EXPECT_EQ(QApplication::exec(), 0);
  guard.stop();
  EXPECT_EQ(form.About(), nullptr);
}

// Closing Form1 leaves the program running while the About window is open; closing that one
// too ends it.
TEST_F(Form1PrintTest, TheProgramEndsWithItsLastWindow) {
  qt::Form1 form(services, 96);
  form.show();
  form.About_Click();
  bool aboutOpenAfterForm1Closed = false;
  QTimer::singleShot(0, &form, [&form] { form.close(); });
  QTimer::singleShot(50, &form, [&] {
    aboutOpenAfterForm1Closed = form.About() != nullptr && form.About()->isVisible();
    form.About()->cmdOK_Click();
  });
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  guard.start(10000);
  EXPECT_EQ(QApplication::exec(), 0);
  guard.stop();
  EXPECT_TRUE(aboutOpenAfterForm1Closed);
  EXPECT_EQ(endProgramCalls, 0);
}

}  // namespace
}  // namespace quorvel::testing
