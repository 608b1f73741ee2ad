#include "printing/job_follow.h"

#include <gtest/gtest.h>

#include <numeric>

#include "fakes/fakes.h"
#include "printing/printer_check.h"

namespace quorvel {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;
using testing::FakeJobTracker;
using testing::FakePacer;
using Lines = std::vector<std::string>;

const JobRef kJob{"Virtual", 12};

JobStatus Job(JobState state, std::vector<std::string> reasons = {}, std::string message = "") {
  return {state, std::move(reasons), std::move(message)};
}

PrinterStatus Printer(PrinterState state, std::string message = "",
                      std::vector<std::string> reasons = {}) {
  PrinterStatus status;
  status.exists = true;
  status.state = state;
  status.message = std::move(message);
  status.reasons = std::move(reasons);
  return status;
}

struct VerdictCase {
  const char* what;
  std::vector<JobStatus> jobs;
  PrinterStatus printer;
  JobVerdict verdict;
  Lines lines;
};

TEST(FollowJob, SaysPrintedOnlyForACompletedJobAndWhyNotOtherwise) {
  const PrinterStatus idle = Printer(PrinterState::kIdle);
  const VerdictCase cases[] = {
      {"completed at once", {Job(JobState::kCompleted)}, idle, JobVerdict::kPrinted, {"Printed"}},
      {"completed after waiting",
       {Job(JobState::kPending), Job(JobState::kProcessing), Job(JobState::kCompleted)},
       idle,
       JobVerdict::kPrinted,
       {"Printed"}},
      {"held",
       {Job(JobState::kHeld, {"job-hold-until-specified"})},
       idle,
       JobVerdict::kNotPrinted,
       {"Not printed: job 12 on Virtual is held.", "Job 12: held (job-hold-until-specified)",
        "Printer Virtual: idle"}},
      {"printer paused",
       {Job(JobState::kPending)},
       Printer(PrinterState::kStopped, "Paused", {"paused"}),
       JobVerdict::kNotPrinted,
       {"Not printed: job 12 on Virtual is pending and the printer is stopped.", "Job 12: pending",
        "Printer Virtual: stopped, \"Paused\" (paused)"}},
      {"aborted",
       {Job(JobState::kProcessing),
        Job(JobState::kAborted, {"aborted-by-system"}, "Filter failed")},
       idle,
       JobVerdict::kNotPrinted,
       {"Not printed: job 12 on Virtual is aborted.",
        "Job 12: aborted, \"Filter failed\" (aborted-by-system)", "Printer Virtual: idle"}},
      {"canceled",
       {Job(JobState::kCanceled, {"job-canceled-by-user"})},
       idle,
       JobVerdict::kNotPrinted,
       {"Not printed: job 12 on Virtual is canceled.", "Job 12: canceled (job-canceled-by-user)",
        "Printer Virtual: idle"}},
      {"vanished",
       {Job(JobState::kProcessing), Job(JobState::kGone)},
       idle,
       JobVerdict::kNotConfirmed,
       {"Not confirmed: job 12 on Virtual is no longer known to the spooler.",
        "Printer Virtual: idle"}},
  };
  for (const VerdictCase& c : cases) {
    FakeJobTracker tracker;
    tracker.jobStates = c.jobs;
    tracker.printers = {c.printer};
    FakePacer pacer;
    const FollowResult result = FollowJob(tracker, kJob, seconds(60), pacer);
    EXPECT_EQ(result.verdict, c.verdict) << c.what;
    EXPECT_EQ(DescribeFollowResult(kJob, result), c.lines) << c.what;
    EXPECT_EQ(tracker.rounds, c.jobs.size()) << c.what << ": one round per status, then done";
  }
}

TEST(FollowJob, ACompletedJobNeedsNoQuestionAboutThePrinter) {
  FakeJobTracker tracker;
  tracker.jobStates = {Job(JobState::kProcessing), Job(JobState::kCompleted)};
  tracker.printers = {Printer(PrinterState::kProcessing)};
  FakePacer pacer;
  FollowJob(tracker, kJob, seconds(60), pacer);
  EXPECT_EQ(tracker.calls, (Lines{"job Virtual-12", "printer Virtual", "job Virtual-12"}));
}

TEST(FollowJob, TimeRunningOutIsNotConfirmedWithWhereJobAndPrinterStand) {
  FakeJobTracker tracker;
  const std::string message = "The printer may not exist or is unavailable at this time.";
  tracker.jobStates = {Job(JobState::kProcessing, {"job-printing"}, message)};
  tracker.printers = {Printer(PrinterState::kProcessing, message)};
  FakePacer pacer;
  const FollowResult result = FollowJob(tracker, kJob, seconds(3), pacer);
  EXPECT_EQ(result.verdict, JobVerdict::kNotConfirmed);
  EXPECT_EQ(DescribeFollowResult(kJob, result),
            (Lines{"Not confirmed after 3 s: job 12 on Virtual is still processing.",
                   "Job 12: processing, \"" + message + "\" (job-printing)",
                   "Printer Virtual: processing, \"" + message + "\""}));
  // Soon at first, then at most once a second, and not a moment past the limit.
  EXPECT_EQ(pacer.pauses,
            (std::vector<milliseconds>{milliseconds(50), milliseconds(100), milliseconds(200),
                                       milliseconds(400), milliseconds(800), milliseconds(1000),
                                       milliseconds(450)}));
  EXPECT_EQ(pacer.elapsed, milliseconds(3000));
}

TEST(FollowJob, AServerThatStopsAnsweringIsReportedAndAskedAgain) {
  FakeJobTracker recovering;
  recovering.jobStates = {Job(JobState::kProcessing), Job(JobState::kCompleted)};
  recovering.failingRounds = {0};
  FakePacer pacer;
  EXPECT_EQ(FollowJob(recovering, kJob, seconds(60), pacer).verdict, JobVerdict::kPrinted);

  FakeJobTracker silent;
  silent.jobStates = {Job(JobState::kProcessing)};
  silent.failingRounds = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  FakePacer later;
  const FollowResult result = FollowJob(silent, kJob, seconds(2), later);
  EXPECT_EQ(result.verdict, JobVerdict::kNotConfirmed);
  EXPECT_EQ(DescribeFollowResult(kJob, result).back(),
            "The spooler did not answer: Get-Job-Attributes: the print server did not answer "
            "within 8 seconds");
}

TEST(FollowJob, CtrlCStopsWaitingAndLeavesTheJobAsItIs) {
  FakeJobTracker tracker;
  tracker.jobStates = {Job(JobState::kProcessing)};
  tracker.printers = {Printer(PrinterState::kProcessing)};
  FakePacer pacer;
  pacer.interruptAfter = 2;
  const FollowResult result = FollowJob(tracker, kJob, seconds(60), pacer);
  EXPECT_EQ(result.verdict, JobVerdict::kNotConfirmed);
  EXPECT_TRUE(result.interrupted);
  EXPECT_EQ(DescribeFollowResult(kJob, result).front(),
            "Stopped waiting: job 12 on Virtual is left as it is (processing).");
  EXPECT_EQ(tracker.rounds, 3u);
}

TEST(RiskNotes, EachRiskTheAdapterFoundIsWordedOnce) {
  PrinterStatus status = Printer(PrinterState::kIdle);
  status.risks = {{RawRisk::kDriverQueue, "Generic PCL"},
                  {RawRisk::kRemoteQueue, ""},
                  {RawRisk::kNoRawFormat, ""},
                  {RawRisk::kXpsDriver, ""},
                  {RawRisk::kV4Driver, ""},
                  {RawRisk::kPrintProcessor, "hpzpp"}};
  const Lines expected = {
      "a driver queue: its filters may change the bytes of any job not sent as raw "
      "(quorvel sends application/vnd.cups-raw)",
      "a remote queue: the job goes on to another print server",
      "the printer lists no raw format (application/octet-stream)",
      "a v4/XPS driver: the job goes as XPS_PASS",
      "a v4 driver: raw jobs may not reach the printer unchanged",
      "print processor hpzpp: it may not pass RAW jobs unchanged",
  };
  EXPECT_EQ(RiskNotes(status), expected);
}

TEST(AssessPrinter, ReadyOnlyWhenItExistsTakesJobsAndIsNotStopped) {
  PrinterStatus rejecting = Printer(PrinterState::kIdle);
  rejecting.acceptingJobs = false;
  PrinterStatus driver = Printer(PrinterState::kProcessing);
  driver.risks = {{RawRisk::kDriverQueue, "Generic PCL"}};
  // CUPS keeps an unreachable socket printer idle and says so in its reasons and message.
  PrinterStatus offline = Printer(PrinterState::kIdle);
  offline.reasons = {"offline-report"};
  PrinterStatus unavailable = Printer(PrinterState::kProcessing);
  unavailable.message = "The printer may not exist or is unavailable at this time.";
  PrinterStatus windowsOffline = Printer(PrinterState::kIdle);
  windowsOffline.reasons = {"offline"};
  PrinterStatus toner = Printer(PrinterState::kIdle);
  toner.reasons = {"toner-low-report"};
  // Ctrl-C before the printer answered: what the spooler said does not make it ready.
  PrinterStatus stopped = Printer(PrinterState::kIdle);
  stopped.stopped = true;
  const struct {
    PrinterStatus status;
    CheckVerdict verdict;
    Lines why;
  } cases[] = {
      {Printer(PrinterState::kIdle), CheckVerdict::kReady, {}},
      {driver, CheckVerdict::kReady, {}},
      {Printer(PrinterState::kStopped), CheckVerdict::kNotReady, {"it is stopped"}},
      {rejecting, CheckVerdict::kNotReady, {"it does not accept jobs"}},
      {PrinterStatus{}, CheckVerdict::kNoSuchPrinter, {"there is no such printer"}},
      {offline, CheckVerdict::kNotReady, {"the spooler reports it offline or unavailable"}},
      {windowsOffline, CheckVerdict::kNotReady, {"the spooler reports it offline or unavailable"}},
      {unavailable,
       CheckVerdict::kNotReady,
       {"the spooler reports it offline or unavailable (\"The printer may not exist or is "
        "unavailable at this time.\")"}},
      {toner, CheckVerdict::kReady, {}},
      {stopped, CheckVerdict::kStopped, {"stopped waiting (Ctrl-C) before the printer answered"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AssessPrinter(c.status), c.verdict);
    EXPECT_EQ(NotReadyReasons(c.status), c.why);
  }
}

}  // namespace
}  // namespace quorvel
