#include "printing/print_flow.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/expected_pages.h"
#include "fakes/fakes.h"
#include "fakes/hex.h"
#include "pages/dot_matrix_page.h"
#include "pages/pcl_page.h"

namespace quorvel {
namespace {

using testing::FakeComboBox;
using testing::FakePrinterList;
using testing::RecordingMessageDisplay;
using testing::RecordingSpooler;
using Calls = std::vector<std::string>;

struct FlowFixture {
  FakePrinterList list{{"Zebra", "Virtual"}, "Zebra"};
  Printers printers{list};
  FakeComboBox combo;
  RecordingSpooler spooler;
  RecordingMessageDisplay messages;

  PrintOutcome Print(const std::string& typed, PageComposer composer = &ComposeDotMatrixPage) {
    combo.text = typed;
    return PrintTestPage({printers, combo, spooler, messages}, composer);
  }
};

TEST(PrintTestPage, SendsOneRawJobOfOnePageAndRestoresThePrinter) {
  FlowFixture f;
  EXPECT_EQ(f.Print("Virtual"), PrintOutcome::kExecuted);
  EXPECT_EQ(f.spooler.calls, (Calls{"Open Virtual", "StartDocument Command Print", "StartPage",
                                    "Write 1154", "EndPage", "EndDocument", "Close"}));
  EXPECT_EQ(f.messages.shown, Calls{"Executed"});
  EXPECT_EQ(f.printers.Current(), "Zebra");
}

TEST(PrintTestPage, WritesThePageAndOneFormFeedNulsIncluded) {
  FlowFixture f;
  f.Print("Virtual", &ComposeDotMatrixPage);
  f.Print("Virtual", &ComposePclPage);
  ASSERT_EQ(f.spooler.written.size(), 2u);
  const std::string& dotMatrix = f.spooler.written[0];
  ASSERT_EQ(dotMatrix.size(), 1154u);
  EXPECT_EQ(dotMatrix.substr(1150), testing::Hex("7E 0D 0A 0C"));
  EXPECT_EQ(std::count(dotMatrix.begin(), dotMatrix.end(), '\0'), 11);
  const std::string& pcl = f.spooler.written[1];
  ASSERT_EQ(pcl.size(), 441u);
  EXPECT_EQ(pcl.substr(0, 14), "Quorvelprint\r\n");
  EXPECT_EQ(pcl.substr(437), testing::Hex("5A 0D 0A 0C"));
  EXPECT_EQ(dotMatrix, testing::ExpectedDotMatrixJob());
  EXPECT_EQ(pcl, testing::ExpectedPclJob());
}

TEST(PrintTestPage, UnknownNameSendsNothingAndSaysSo) {
  for (const std::string typed : {"virtual", "Virtual ", "", "Nope", "Combo1"}) {
    FlowFixture f;
    EXPECT_EQ(f.Print(typed), PrintOutcome::kNotRecognized) << typed;
    EXPECT_TRUE(f.spooler.calls.empty()) << typed;
    EXPECT_EQ(f.messages.shown, Calls{std::string(kNotRecognized)}) << typed;
    EXPECT_EQ(f.printers.Current(), "Zebra") << typed;
  }
}

TEST(PrintTestPage, NoCurrentPrinterAtAllBehavesLikeNoMatch) {
  FakePrinterList list({}, std::nullopt);
  Printers printers(list);
  FakeComboBox combo;
  RecordingSpooler spooler;
  RecordingMessageDisplay messages;
  EXPECT_EQ(PrintTestPage({printers, combo, spooler, messages}, &ComposePclPage),
            PrintOutcome::kNotRecognized);
  EXPECT_TRUE(spooler.calls.empty());
}

TEST(PrintTestPage, APrinterThatWontOpenIsNotRecognizedAndStaysCurrent) {
  FlowFixture f;
  f.spooler.openSucceeds = false;
  EXPECT_EQ(f.Print("Virtual"), PrintOutcome::kNotRecognized);
  EXPECT_EQ(f.spooler.calls, Calls{"Open Virtual"});
  EXPECT_EQ(f.messages.shown, Calls{std::string(kNotRecognized)});
  EXPECT_EQ(f.printers.Current(), "Virtual");
}

// Each failing step stops the job: a started job is withdrawn, the printer closed, the earlier
// printer made current again, and the user reads the reason instead of "Executed".
TEST(PrintTestPage, AFailingStepCancelsClosesRestoresAndReportsTheReason) {
  struct Case {
    std::string failAt;
    Calls calls;
  };
  const Case cases[] = {
      {"Open", {"Open Virtual"}},
      {"StartDocument", {"Open Virtual", "StartDocument Command Print", "Close"}},
      {"StartPage",
       {"Open Virtual", "StartDocument Command Print", "StartPage", "Cancel", "Close"}},
      {"Write",
       {"Open Virtual", "StartDocument Command Print", "StartPage", "Write 1154", "Cancel",
        "Close"}},
      {"EndPage",
       {"Open Virtual", "StartDocument Command Print", "StartPage", "Write 1154", "EndPage",
        "Cancel", "Close"}},
      {"EndDocument",
       {"Open Virtual", "StartDocument Command Print", "StartPage", "Write 1154", "EndPage",
        "EndDocument", "Cancel", "Close"}},
  };
  for (const Case& c : cases) {
    FlowFixture f;
    f.spooler.failAt = c.failAt;
    EXPECT_EQ(f.Print("Virtual"), PrintOutcome::kSendFailed) << c.failAt;
    EXPECT_EQ(f.spooler.calls, c.calls) << c.failAt;
    ASSERT_EQ(f.messages.shown.size(), 1u) << c.failAt;
    EXPECT_EQ(f.messages.shown[0], "The test page could not be sent to the printer.\n" + c.failAt +
                                       ": the spooler said no");
    EXPECT_EQ(f.printers.Current(), "Zebra") << c.failAt;
  }
}

// The page is composed once the document's page has started, and not at all when selection,
// opening or starting failed: a composer that logs itself among the spooler's calls shows when.
RecordingSpooler* composeLog = nullptr;
PageText LoggingComposer() {
  composeLog->calls.push_back("Compose");
  return ComposePclPage();
}

TEST(PrintTestPage, ThePageIsComposedAfterItsPageStartedAndNeverAfterAFailure) {
  struct Case {
    std::string typed;
    std::string failAt;
    bool openSucceeds;
    Calls calls;
  };
  const Case cases[] = {
      {"Virtual",
       "",
       true,
       {"Open Virtual", "StartDocument Command Print", "StartPage", "Compose", "Write 441",
        "EndPage", "EndDocument", "Close"}},
      {"Nope", "", true, {}},
      {"Virtual", "", false, {"Open Virtual"}},
      {"Virtual", "Open", true, {"Open Virtual"}},
      {"Virtual", "StartDocument", true, {"Open Virtual", "StartDocument Command Print", "Close"}},
      {"Virtual",
       "StartPage",
       true,
       {"Open Virtual", "StartDocument Command Print", "StartPage", "Cancel", "Close"}},
  };
  for (const Case& c : cases) {
    FlowFixture f;
    f.spooler.failAt = c.failAt;
    f.spooler.openSucceeds = c.openSucceeds;
    composeLog = &f.spooler;
    f.Print(c.typed, &LoggingComposer);
    EXPECT_EQ(f.spooler.calls, c.calls) << c.typed << " " << c.failAt << " " << c.openSucceeds;
  }
  composeLog = nullptr;
}

TEST(PrintTestPage, AShortWriteIsAFailure) {
  FlowFixture f;
  f.spooler.shortWrite = true;
  EXPECT_EQ(f.Print("Virtual"), PrintOutcome::kSendFailed);
  EXPECT_EQ(f.spooler.calls, (Calls{"Open Virtual", "StartDocument Command Print", "StartPage",
                                    "Write 1154", "Cancel", "Close"}));
  ASSERT_EQ(f.messages.shown.size(), 1u);
  EXPECT_EQ(f.messages.shown[0],
            "The test page could not be sent to the printer.\n"
            "Write: only 1153 of 1154 bytes were accepted by the spooler");
}

}  // namespace
}  // namespace quorvel
