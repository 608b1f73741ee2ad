#include "platform/cups/cups_spooler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "common/platform_error.h"
#include "fakes/expected_pages.h"
#include "platform/cups/cups_test_support.h"

namespace quorvel::testing {
namespace {

using platform::cups::CupsSpooler;
using Clock = std::chrono::steady_clock;
constexpr std::chrono::seconds kDeliveryLimit{60};

class CupsSpoolerTest : public ::testing::Test {
 protected:
  void SetUp() override { spooler_ = &UseTestSpooler(); }

  // Runs every step of one job as the print flow does.
  void SendJob(const std::string& deviceName, const std::string& bytes) {
    ASSERT_TRUE(cups_.Open(deviceName));
    cups_.StartDocument("Command Print");
    cups_.StartPage();
    EXPECT_EQ(cups_.Write(bytes), bytes.size());
    cups_.EndPage();
    cups_.EndDocument();
    cups_.Close();
  }

  static JobInfo NewestJob(const std::string& queue) {
    std::vector<JobInfo> jobs = Jobs(queue);
    EXPECT_FALSE(jobs.empty());
    return jobs.empty()
               ? JobInfo{}
               : *std::max_element(jobs.begin(), jobs.end(),
                                   [](const JobInfo& a, const JobInfo& b) { return a.id < b.id; });
  }

  const TestSpooler* spooler_ = nullptr;
  CupsSpooler cups_;
};

TEST_F(CupsSpoolerTest, OpensOnlyQueuesThatExist) {
  const struct {
    const char* name;
    bool opens;
  } cases[] = {{"Virtual", true}, {"Nowhere", false}, {"Virtual ", false}, {"", false}};
  for (const auto& c : cases) {
    EXPECT_EQ(cups_.Open(c.name), c.opens) << "'" << c.name << "'";
    cups_.Close();
  }
}

TEST_F(CupsSpoolerTest, DeliversTheBytesUnchangedAsOneRawJobNamedCommandPrint) {
  const std::string job = ExpectedDotMatrixJob();
  const std::size_t before = Captures(spooler_->captureDir).size();
  SendJob("Virtual", job);
  const std::vector<std::string> after =
      WaitForCaptures(spooler_->captureDir, before + 1, kDeliveryLimit);
  ASSERT_EQ(after.size(), before + 1);
  EXPECT_EQ(ReadFile(after.back()), job);
  const JobInfo newest = NewestJob("Virtual");
  EXPECT_EQ(newest.title, "Command Print");
  EXPECT_EQ(newest.format, "application/vnd.cups-raw");
}

TEST_F(CupsSpoolerTest, QueueRejectingJobsFailsWithTheServersReasonAndDeliversNothing) {
  AddQueue("Rejecting", "socket://127.0.0.1:" + std::to_string(UnusedPort()));
  RunChecked("cupsreject -h " + spooler_->server + " -r 'closed for the test' Rejecting");
  const std::size_t jobsBefore = Jobs("Rejecting").size();
  ASSERT_TRUE(cups_.Open("Rejecting"));
  try {
    cups_.StartDocument("Command Print");
    ADD_FAILURE() << "Create-Job was accepted";
  } catch (const PlatformError& e) {
    EXPECT_EQ(e.Operation(), "Create-Job");
    EXPECT_NE(e.Reason().find("not accepting jobs"), std::string::npos) << e.Reason();
  }
  cups_.Cancel();
  cups_.Close();
  EXPECT_EQ(Jobs("Rejecting").size(), jobsBefore);
}

TEST_F(CupsSpoolerTest, CancelWithdrawsAStartedJob) {
  ASSERT_TRUE(cups_.Open("Virtual"));
  cups_.StartDocument("Command Print");
  const int id = NewestJob("Virtual").id;
  cups_.Cancel();
  cups_.Close();
  const std::vector<JobInfo> jobs = Jobs("Virtual");
  const auto it =
      std::find_if(jobs.begin(), jobs.end(), [id](const JobInfo& j) { return j.id == id; });
  ASSERT_NE(it, jobs.end());
  EXPECT_EQ(it->state, IPP_JSTATE_CANCELED);
}

TEST_F(CupsSpoolerTest, NoServerIsAFailureNotAnUnknownPrinter) {
  const ScopedServer server("127.0.0.1:" + std::to_string(UnusedPort()));
  const Clock::time_point start = Clock::now();
  EXPECT_THROW(cups_.Open("Virtual"), PlatformError);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
}

TEST_F(CupsSpoolerTest, ServerThatNeverAnswersFailsWithinFifteenSeconds) {
  const SilentServer silent;
  const ScopedServer server("127.0.0.1:" + std::to_string(silent.Port()));
  const Clock::time_point start = Clock::now();
  EXPECT_THROW(cups_.Open("Virtual"), PlatformError);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(15));
}

}  // namespace
}  // namespace quorvel::testing
