// The whole way once, on the private CUPS scheduler: a click on each of Form1's buttons puts the
// exact job into the queue Virtual, and the capture listener behind it receives those bytes.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <chrono>

#include "fakes/expected_pages.h"
#include "gui/qt/form1.h"
#include "gui_test_support.h"
#include "platform/cups/cups_test_support.h"
#include "platform/platform.h"

namespace quorvel::testing {
namespace {

TEST(QtEndToEnd, EachButtonDeliversItsJobToVirtual) {
  const TestSpooler& server = UseTestSpooler();
  TestApplication();
  const auto printerList = platform::MakePrinterList();
  const auto spooler = platform::MakeSpooler();
  RecordingMessageDisplay messages;
  FakeFileLookup files;
  FakeProcessStarter processes;
  FakeBrowser browser;
  qt::DesktopServices services{*printerList, *spooler, messages, files, processes, browser, {}, {}};
  qt::Form1 form(services, 96);
  form.show();
  auto* combo = form.findChild<QComboBox*>("Combo1");
  const int virtualIndex = combo->findText("Virtual", Qt::MatchExactly | Qt::MatchCaseSensitive);
  ASSERT_GE(virtualIndex, 0) << "Combo1 does not list the queue Virtual";
  combo->setCurrentIndex(virtualIndex);

  struct Case {
    const char* button;
    std::string job;
    std::size_t size;
  };
  const Case cases[] = {{"Command1", ExpectedDotMatrixJob(), 1154},
                        {"Command2", ExpectedPclJob(), 441}};
  for (const Case& c : cases) {
    messages.shown.clear();
    const std::size_t before = Captures(server.captureDir).size();
    QTest::mouseClick(form.findChild<QPushButton*>(c.button), Qt::LeftButton);
    EXPECT_EQ(messages.shown, (std::vector<std::string>{"Executed"})) << c.button;
    const std::vector<std::string> captures =
        WaitForCaptures(server.captureDir, before + 1, std::chrono::seconds(30));
    ASSERT_EQ(captures.size(), before + 1) << c.button << ": no job reached the listener";
    const std::string received = ReadFile(captures.back());
    EXPECT_EQ(received.size(), c.size) << c.button;
    EXPECT_EQ(received, c.job) << c.button;
  }
}

}  // namespace
}  // namespace quorvel::testing
