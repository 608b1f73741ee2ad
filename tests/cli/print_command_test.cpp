#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "cli/cups_cli.h"
#include "fakes/expected_pages.h"

namespace quorvel::testing {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::seconds kDeliveryLimit{60};
const std::string kNotRecognizedLine = "The Printer Name you typed wasn't recognized.\n";
const std::string kSendFailedText = "The test page could not be sent to the printer.";

JobInfo NewestJob(const std::string& queue) {
  const std::vector<JobInfo> jobs = Jobs(queue);
  return jobs.empty()
             ? JobInfo{}
             : *std::max_element(jobs.begin(), jobs.end(),
                                 [](const JobInfo& a, const JobInfo& b) { return a.id < b.id; });
}

struct PageCase {
  const char* page;
  std::string job;
  std::size_t size;
};

TEST(CliPrint, EachPageReachesThePrinterByteExactAsOneJobNamedCommandPrint) {
  const std::string captures = UseTestSpooler().captureDir;
  const PageCase cases[] = {{"dot-matrix", ExpectedDotMatrixJob(), 1154},
                            {"pcl", ExpectedPclJob(), 441}};
  for (const PageCase& c : cases) {
    const std::size_t before = Captures(captures).size();
    const CommandResult result =
        RunQuorvelCli(std::string("print ") + c.page + " --printer Virtual");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "Executed\n");
    EXPECT_EQ(result.err, "");
    const std::vector<std::string> after = WaitForCaptures(captures, before + 1, kDeliveryLimit);
    ASSERT_EQ(after.size(), before + 1) << c.page;
    const std::string bytes = ReadFile(after.back());
    EXPECT_EQ(bytes.size(), c.size) << c.page;
    EXPECT_EQ(bytes, c.job) << c.page;
    EXPECT_EQ(NewestJob("Virtual").title, "Command Print");
  }
}

TEST(CliPrint, WithoutPrinterOptionUsesTheDefaultAndWithoutDefaultRecognizesNothing) {
  const std::string captures = UseTestSpooler().captureDir;
  const std::size_t before = Captures(captures).size();
  const CommandResult withDefault = RunQuorvelCli("print pcl", "LPDEST=Virtual");
  EXPECT_EQ(withDefault.status, 0) << withDefault.err;
  EXPECT_EQ(withDefault.out, "Executed\n");
  ASSERT_EQ(WaitForCaptures(captures, before + 1, kDeliveryLimit).size(), before + 1);

  const std::size_t jobs = Jobs("Virtual").size();
  const CommandResult withoutDefault = RunQuorvelCli("print pcl");
  EXPECT_EQ(withoutDefault.status, 3);
  EXPECT_EQ(withoutDefault.err, kNotRecognizedLine +
                                    "No --printer was given and there is no default printer: "
                                    "name one (quorvel-cli printers lists them).\n");
  EXPECT_EQ(Jobs("Virtual").size(), jobs);
}

// print auto over a queue: the print server's printer-device-id decides. A raw queue gives none,
// so nothing is sent, for one printer and in a run of one, in the same words and status.
TEST(CliPrint, AutoOverAQueueThatNamesNoPageSendsNothing) {
  UseTestSpooler();
  const std::size_t jobs = Jobs("Virtual").size();
  const std::string why = "can't tell which page suits Virtual: name it (it gives no device ID)";
  const CommandResult one = RunQuorvelCli("print auto --printer Virtual");
  EXPECT_EQ(one.status, 2);
  EXPECT_EQ(one.out, "");
  EXPECT_EQ(one.err, "quorvel-cli print: " + why + "\n");
  const CommandResult run = RunQuorvelCli("print auto --printer Virtual --format json");
  EXPECT_EQ(run.status, 2) << run.out;
  EXPECT_NE(run.out.find("\"outcome\": \"refused\", \"job\": null"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(why), std::string::npos) << run.out;
  EXPECT_EQ(Jobs("Virtual").size(), jobs);
}

// The message stays as it is; the next line names what was typed and, nearest first, the
// installed names it comes closest to. check reports "no such printer" once, and adds the line.
TEST(CliPrint, NamesThatAreNotExactlyAnInstalledPrinterCreateNoJob) {
  UseTestSpooler();
  const std::size_t jobs = Jobs("Virtual").size();
  const std::vector<std::pair<std::string, std::string>> cases{
      {"Nowhere", "\"Nowhere\" is not the name of an installed printer; the closest: "},
      {"virtual", "\"virtual\" is not the name of an installed printer; the closest: \"Virtual\""},
      {"'Virtual '",
       "\"Virtual \" is not the name of an installed printer; the closest: \"Virtual\""},
      {"' Virtual'",
       "\" Virtual\" is not the name of an installed printer; the closest: \"Virtual\""},
      {"Virtal", "\"Virtal\" is not the name of an installed printer; the closest: \"Virtual\""},
      {"''", "\"\" is not the name of an installed printer; the closest: "}};
  for (const auto& [name, hint] : cases) {
    const CommandResult result = RunQuorvelCli("print dot-matrix --printer " + name);
    EXPECT_EQ(result.status, 3) << name;
    EXPECT_EQ(result.out, "") << name;
    EXPECT_EQ(result.err.substr(0, kNotRecognizedLine.size()), kNotRecognizedLine) << name;
    EXPECT_EQ(result.err.substr(kNotRecognizedLine.size(), hint.size()), hint) << result.err;
    const CommandResult check = RunQuorvelCli("check --printer " + name);
    EXPECT_EQ(check.status, 3) << name;
    EXPECT_EQ(check.err.substr(0, hint.size()), hint) << check.err;
    EXPECT_EQ(check.out.find("recognized"), std::string::npos) << check.out;
  }
  EXPECT_EQ(Jobs("Virtual").size(), jobs);
}

TEST(CliPrint, QueueRejectingJobsReportsTheServersReasonAndDeliversNothing) {
  const int port = UnusedPort();
  AddQueue("Refusing", "socket://127.0.0.1:" + std::to_string(port));
  RunChecked("cupsreject -h " + UseTestSpooler().server + " -r 'closed for the test' Refusing");
  const std::size_t jobs = Jobs("Refusing").size();
  const CommandResult result = RunQuorvelCli("print pcl --printer Refusing");
  EXPECT_EQ(result.status, 4);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err.rfind(kSendFailedText + "\nCreate-Job: ", 0), 0u) << result.err;
  EXPECT_NE(result.err.find("not accepting jobs"), std::string::npos) << result.err;
  EXPECT_EQ(Jobs("Refusing").size(), jobs);
}

TEST(CliPrint, NoServerFailsWithinSecondsAndSilentServerWithinFifteen) {
  const SilentServer silent;
  const struct {
    int port;
    std::chrono::seconds limit;
  } cases[] = {{UnusedPort(), std::chrono::seconds(5)}, {silent.Port(), std::chrono::seconds(15)}};
  for (const auto& c : cases) {
    const Clock::time_point start = Clock::now();
    const CommandResult result = RunQuorvelCli("print dot-matrix --printer Virtual",
                                               "CUPS_SERVER=127.0.0.1:" + std::to_string(c.port));
    EXPECT_LT(Clock::now() - start, c.limit) << c.port;
    EXPECT_EQ(result.status, 4) << c.port;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind(kSendFailedText + "\n", 0), 0u) << result.err;
  }
}

TEST(CliPrint, ListenerDownTheSpoolerHoldsTheJobAndDeliversItOnceWhenItIsBack) {
  const std::string captures = UseTestSpooler().dir + "/later-captures";
  std::filesystem::create_directories(captures);
  const int port = UnusedPort();
  AddQueue("Later", "socket://127.0.0.1:" + std::to_string(port));
  const CommandResult result = RunQuorvelCli("print dot-matrix --printer Later");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "Executed\n");
  std::this_thread::sleep_for(std::chrono::seconds(1));
  EXPECT_NE(NewestJob("Later").state, IPP_JSTATE_COMPLETED);
  EXPECT_TRUE(Captures(captures).empty());

  const CaptureListenerProcess listener(captures, port);
  const std::vector<std::string> delivered =
      WaitForCaptures(captures, 1, std::chrono::seconds(120));
  ASSERT_EQ(delivered.size(), 1u);
  EXPECT_EQ(ReadFile(delivered.front()), ExpectedDotMatrixJob());
  for (int i = 0; i < 100 && NewestJob("Later").state != IPP_JSTATE_COMPLETED; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_EQ(NewestJob("Later").state, IPP_JSTATE_COMPLETED);
  EXPECT_EQ(Captures(captures).size(), 1u);
}

TEST(CliPrint, TwoHundredJobsInARowArriveEachOnceAndByteExact) {
  constexpr std::size_t kJobs = 200;
  const std::string captures = UseTestSpooler().captureDir;
  const std::size_t before = Captures(captures).size();
  for (std::size_t i = 0; i < kJobs; ++i) {
    const CommandResult result = RunQuorvelCli(i % 2 == 0 ? "print dot-matrix --printer Virtual"
                                                          : "print pcl --printer Virtual");
    ASSERT_EQ(result.status, 0) << "job " << i << ": " << result.err;
  }
  std::vector<std::string> after =
      WaitForCaptures(captures, before + kJobs, std::chrono::seconds(300));
  ASSERT_EQ(after.size(), before + kJobs);
  for (std::size_t i = 0; i < kJobs; ++i) {
    EXPECT_EQ(ReadFile(after[before + i]), i % 2 == 0 ? ExpectedDotMatrixJob() : ExpectedPclJob())
        << "job " << i;
  }
  // Nothing arrives twice: once every job has completed, the count still stands.
  std::this_thread::sleep_for(std::chrono::seconds(2));
  EXPECT_EQ(Captures(captures).size(), before + kJobs);
}

}  // namespace
}  // namespace quorvel::testing
