// print --wait, check and print --to ipp:// against the private scheduler: each situation a
// user meets (completed, paused, unreachable device, rejecting, held, cancelled, Ctrl-C).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/cups_cli.h"
#include "fakes/expected_pages.h"

namespace quorvel::testing {
namespace {

constexpr std::chrono::seconds kDeliveryLimit{60};
const std::string kNotRecognizedLine = "The Printer Name you typed wasn't recognized.\n";
const std::string kUnreachable = "The printer may not exist or is unavailable at this time.";

int NewestJobId(const std::string& queue) {
  int newest = 0;
  for (const JobInfo& job : Jobs(queue)) {
    newest = std::max(newest, job.id);
  }
  return newest;
}

ipp_jstate_t StateOf(const std::string& queue, int id) {
  for (const JobInfo& job : Jobs(queue)) {
    if (job.id == id) {
      return job.state;
    }
  }
  return IPP_JSTATE_PENDING;
}

std::string CapturePort() {
  std::string port = ReadFile(UseTestSpooler().dir + "/listener.port");
  port.erase(port.find_last_not_of(" \r\n") + 1);
  return "socket://127.0.0.1:" + port;
}

std::string ClosedPort() {
  return "socket://127.0.0.1:" + std::to_string(UnusedPort());
}

std::string Admin(const std::string& command) {
  return command + " -h " + UseTestSpooler().server + " ";
}

// Runs quorvel-cli with `arguments` while `meanwhile` (a shell command) runs once the queue
// holds a job; the result is quorvel-cli's.
CommandResult RunWhileJobWaits(const std::string& arguments, const std::string& queue,
                               const std::string& meanwhile) {
  UseTestSpooler();
  const std::string waitForJob =
      "until " + Admin("lpstat") + "-o " + queue + " 2>/dev/null | grep -q .; do sleep 0.1; done; ";
  return RunCommand("(env -u LPDEST -u PRINTER '" QUORVEL_CLI_PATH "' " + arguments +
                    " & pid=$!; " + waitForJob + meanwhile + " >/dev/null; wait $pid)");
}

std::string Id(const std::string& queue) {
  return std::to_string(NewestJobId(queue));
}

TEST(CliPrintWait, ACompletedJobIsPrinted) {
  const std::string captures = UseTestSpooler().captureDir;
  const std::size_t before = Captures(captures).size();
  const CommandResult result = RunQuorvelCli("print dot-matrix --printer Virtual --wait");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "Executed\nPrinted\n");
  EXPECT_EQ(result.err, "");
  const std::vector<std::string> after = WaitForCaptures(captures, before + 1, kDeliveryLimit);
  ASSERT_EQ(after.size(), before + 1);
  EXPECT_EQ(ReadFile(after.back()), ExpectedDotMatrixJob());
}

TEST(CliPrintWait, APausedQueueIsNotPrinted) {
  AddQueue("Disabled", CapturePort());
  RunChecked(Admin("cupsdisable") + "Disabled");
  const CommandResult result = RunQuorvelCli("print pcl --printer Disabled --wait=30");
  EXPECT_EQ(result.status, 5);
  EXPECT_EQ(result.out, "Executed\n");
  const std::string id = Id("Disabled");
  EXPECT_EQ(result.err, "Not printed: job " + id +
                            " on Disabled is pending and the printer is stopped.\n"
                            "Job " +
                            id +
                            ": pending\n"
                            "Printer Disabled: stopped, \"Paused\" (paused)\n");
}

TEST(CliPrintWait, ADeviceRefusingConnectionsIsNotConfirmedAndStaysQueued) {
  AddQueue("Refusing", ClosedPort());
  const CommandResult result = RunQuorvelCli("print pcl --printer Refusing --wait=4");
  EXPECT_EQ(result.status, 6);
  const std::string id = Id("Refusing");
  EXPECT_EQ(result.err.substr(0, result.err.find('\n')),
            "Not confirmed after 4 s: job " + id + " on Refusing is still processing.");
  EXPECT_NE(result.err.find("Printer Refusing: processing, \"" + kUnreachable + "\""),
            std::string::npos)
      << result.err;
  EXPECT_EQ(StateOf("Refusing", NewestJobId("Refusing")), IPP_JSTATE_PROCESSING)
      << "the wait running out never cancels the job";
}

TEST(CliPrintWait, AHeldJobIsNotPrinted) {
  AddQueue("Holding", CapturePort());
  RunChecked(Admin("lpadmin") + "-p Holding -o job-hold-until-default=indefinite");
  const CommandResult result = RunQuorvelCli("print pcl --printer Holding --wait=30");
  EXPECT_EQ(result.status, 5);
  const std::string id = Id("Holding");
  EXPECT_EQ(result.err, "Not printed: job " + id + " on Holding is held.\n" + "Job " + id +
                            ": held (job-hold-until-specified)\n" + "Printer Holding: idle\n");
}

TEST(CliPrintWait, AQueueRejectingJobsTakesNoneAndCheckSaysWhy) {
  AddQueue("Closed", CapturePort());
  RunChecked(Admin("cupsreject") + "-r 'closed for the test' Closed");
  const CommandResult print = RunQuorvelCli("print pcl --printer Closed --wait");
  EXPECT_EQ(print.status, 4);
  EXPECT_NE(print.err.find("not accepting jobs"), std::string::npos) << print.err;
  const CommandResult check = RunQuorvelCli("check --printer Closed");
  EXPECT_EQ(check.status, 5);
  EXPECT_EQ(check.out.substr(0, check.out.find('\n')),
            "Closed: not ready (it does not accept jobs)");
}

TEST(CliPrintWait, AJobCancelledFromOutsideIsNotPrinted) {
  AddQueue("Cancelled", ClosedPort());
  const CommandResult result = RunWhileJobWaits("print pcl --printer Cancelled --wait=60",
                                                "Cancelled", Admin("cancel") + "-a Cancelled");
  EXPECT_EQ(result.status, 5) << result.err;
  EXPECT_EQ(result.err.substr(0, result.err.find('\n')),
            "Not printed: job " + Id("Cancelled") + " on Cancelled is canceled.");
}

TEST(CliPrintWait, CtrlCLeavesTheJobAndNamesIt) {
  AddQueue("Interrupted", ClosedPort());
  const CommandResult result = RunWhileJobWaits("print pcl --printer Interrupted --wait=60",
                                                "Interrupted", "sleep 0.5; kill -INT $pid");
  EXPECT_EQ(result.status, 6) << result.err;
  const int id = NewestJobId("Interrupted");
  EXPECT_EQ(result.err.substr(0, result.err.find('\n')),
            "Stopped waiting: job " + std::to_string(id) +
                " on Interrupted is left as it is (processing).");
  EXPECT_EQ(StateOf("Interrupted", id), IPP_JSTATE_PROCESSING);
}

TEST(CliCheck, ReportsARawQueueAsTextAndJson) {
  AddQueue("Checked", ClosedPort());
  const CommandResult text = RunQuorvelCli("check --printer Checked");
  EXPECT_EQ(text.status, 0) << text.err;
  EXPECT_EQ(text.out,
            "Checked: ready\nstate: idle\naccepting jobs: yes\njobs waiting: 0\n"
            "queue: raw\ndevice: socket\n");
  const CommandResult json = RunQuorvelCli("check --printer Checked --format json");
  EXPECT_EQ(json.status, 0);
  EXPECT_EQ(json.out,
            "{\"printer\": \"Checked\", \"verdict\": \"ready\", \"exists\": true, "
            "\"notReady\": [], \"state\": \"idle\", \"reasons\": [], \"message\": \"\", "
            "\"reachable\": true, \"acceptingJobs\": true, \"jobsWaiting\": 0, "
            "\"details\": {\"queue\": \"raw\", \"device\": \"socket\"}, \"notes\": []}\n");
}

TEST(CliCheck, NoSuchPrinterPausedQueueAndClosedPort) {
  AddQueue("CheckPaused", ClosedPort());
  RunChecked(Admin("cupsdisable") + "-r 'out for lunch' CheckPaused");
  const struct {
    std::string arguments;
    int status;
    std::string firstLine;
  } cases[] = {
      {"check --printer Nowhere", 3, "Nowhere: no such printer"},
      {"check", 3, "(no default printer): no such printer"},
      {"check --printer checkpaused", 3, "checkpaused: no such printer"},
      {"check --printer CheckPaused", 5, "CheckPaused: not ready (it is stopped)"},
      {"check --to 127.0.0.1:" + std::to_string(UnusedPort()), 5, ""},
  };
  for (const auto& c : cases) {
    const CommandResult result = RunQuorvelCli(c.arguments);
    EXPECT_EQ(result.status, c.status) << c.arguments;
    if (!c.firstLine.empty()) {
      EXPECT_EQ(result.out.substr(0, result.out.find('\n')), c.firstLine) << c.arguments;
    } else {
      EXPECT_NE(result.out.find("connection: Connection refused"), std::string::npos) << result.out;
      // what the refusal said, and no state it did not say
      EXPECT_NE(result.out.find(": not ready (it is not reachable: Connection refused)\nstate: "
                                "unknown, \"Connection refused\"\nport: "),
                std::string::npos)
          << result.out;
    }
  }
}

TEST(CliPrintIpp, APrintJobStraightToTheQueuesIppAddressIsFollowedToTheEnd) {
  const TestSpooler& spooler = UseTestSpooler();
  const std::size_t before = Captures(spooler.captureDir).size();
  const std::string uri = "ipp://" + spooler.server + "/printers/Virtual";
  const CommandResult result = RunQuorvelCli("print pcl --to " + uri + " --wait");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "Executed\nPrinted\n");
  const std::vector<std::string> after =
      WaitForCaptures(spooler.captureDir, before + 1, kDeliveryLimit);
  ASSERT_EQ(after.size(), before + 1);
  EXPECT_EQ(ReadFile(after.back()), ExpectedPclJob());
  // A CUPS queue takes the job as raw: no filter runs on it.
  std::vector<JobInfo> jobs = Jobs("Virtual");
  ASSERT_FALSE(jobs.empty());
  const JobInfo newest = *std::max_element(
      jobs.begin(), jobs.end(), [](const JobInfo& a, const JobInfo& b) { return a.id < b.id; });
  EXPECT_EQ(newest.format, "application/vnd.cups-raw");
  EXPECT_EQ(newest.title, "Command Print");

  const CommandResult unknown =
      RunQuorvelCli("print pcl --to ipp://" + spooler.server + "/printers/Nowhere");
  EXPECT_EQ(unknown.status, 3);
  EXPECT_EQ(unknown.err, kNotRecognizedLine);
  const CommandResult check = RunQuorvelCli("check --to " + uri);
  EXPECT_EQ(check.status, 0) << check.out;
}

TEST(CliConnection, AClosedServerPortSaysConnectionRefused) {
  const std::string server = "CUPS_SERVER=127.0.0.1:" + std::to_string(UnusedPort());
  for (const char* arguments : {"printers", "print pcl --printer Virtual"}) {
    const CommandResult result = RunQuorvelCli(arguments, server);
    EXPECT_NE(result.err.find("Connection refused"), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("Host is down"), std::string::npos) << result.err;
  }
}

}  // namespace
}  // namespace quorvel::testing
