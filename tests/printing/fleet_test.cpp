#include "printing/fleet.h"

#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "common/json_text.h"
#include "fakes/fakes.h"
#include "printing/fleet_report.h"

namespace quorvel {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;
using testing::FakePacer;

std::vector<std::string> Names(std::size_t count) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < count; ++i) {
    std::string name = "Q";  // appended: GCC 12 warns falsely about "Q" + text at -O3
    name += std::to_string(100 + i);
    names.push_back(name);
  }
  return names;
}

// What the workers of one run did, shared between them: every printer taken, how many ran at
// once at most, and how many workers were made.
struct Shop {
  std::mutex mutex;
  std::multiset<std::string> taken;
  std::size_t running = 0;
  std::size_t mostRunning = 0;
  std::size_t workersMade = 0;
  std::map<std::string, FleetOutcome> outcomes;  // default: executed with a job
  int nextJob = 100;
};

class FakeWorker : public FleetWorker {
 public:
  explicit FakeWorker(Shop& shop) : shop_(shop) {}

  PrinterResult Run(const std::string& printer, std::optional<JobRef>& job) override {
    PrinterResult result{printer, FleetOutcome::kExecuted, 0, milliseconds{0}, "", ""};
    {
      const std::lock_guard<std::mutex> lock(shop_.mutex);
      shop_.taken.insert(printer);
      shop_.mostRunning = std::max(shop_.mostRunning, ++shop_.running);
      const auto scripted = shop_.outcomes.find(printer);
      if (scripted != shop_.outcomes.end()) {
        result.outcome = scripted->second;
        result.detail = "scripted";
      } else {
        result.jobId = ++shop_.nextJob;
        job = JobRef{printer, result.jobId};
      }
    }
    std::this_thread::sleep_for(milliseconds(1));  // lets the others overlap
    const std::lock_guard<std::mutex> lock(shop_.mutex);
    --shop_.running;
    return result;
  }

 private:
  Shop& shop_;
};

WorkerFactory Factory(Shop& shop) {
  return [&shop] {
    const std::lock_guard<std::mutex> lock(shop.mutex);
    ++shop.workersMade;
    return std::make_unique<FakeWorker>(shop);
  };
}

class RecordingSink : public FleetSink {
 public:
  void Finished(const PrinterResult& result) override { results.push_back(result); }
  void Progress(std::size_t done, std::size_t total) override {
    progress.emplace_back(done, total);
  }
  const PrinterResult& Of(const std::string& printer) const {
    for (const PrinterResult& result : results) {
      if (result.printer == printer) {
        return result;
      }
    }
    throw std::runtime_error("no line for " + printer);
  }
  std::vector<PrinterResult> results;
  std::vector<std::pair<std::size_t, std::size_t>> progress;
};

// Answers every job from a script by how long the follow-up has run, records every question.
class BatchTracker : public JobTracker {
 public:
  explicit BatchTracker(Pacer& pacer) : pacer_(pacer) {}
  std::vector<JobStatus> QueryJobs(const std::vector<JobRef>& jobs) override {
    jobRounds.push_back(jobs);
    std::vector<JobStatus> statuses;
    for (const JobRef& job : jobs) {
      const auto scripted = states.find(job.printer);
      JobState state =
          pacer_.Elapsed() >= completeAfter ? JobState::kCompleted : JobState::kPending;
      if (scripted != states.end()) {
        state = scripted->second;
      }
      statuses.push_back({state, {}, ""});
    }
    return statuses;
  }
  PrinterStatus QueryPrinter(const std::string& printer) override {
    singlePrinterQuestions.push_back(printer);
    return {};
  }
  std::vector<PrinterStatus> QueryPrinters(const std::vector<std::string>& printers) override {
    printerRounds.push_back(printers);
    std::vector<PrinterStatus> statuses;
    for (const std::string& printer : printers) {
      PrinterStatus status;
      status.exists = true;
      status.state = printer == stoppedPrinter ? PrinterState::kStopped : PrinterState::kIdle;
      statuses.push_back(status);
    }
    return statuses;
  }

  milliseconds completeAfter{1000};
  std::map<std::string, JobState> states;
  std::string stoppedPrinter;
  std::vector<std::vector<JobRef>> jobRounds;
  std::vector<std::vector<std::string>> printerRounds;
  std::vector<std::string> singlePrinterQuestions;

 private:
  Pacer& pacer_;
};

std::size_t Count(const FleetSummary& summary, FleetOutcome outcome) {
  return summary.counts[static_cast<std::size_t>(outcome)];
}

TEST(RunFleet, TakesEveryPrinterOnceWithAtMostJobsWorkersAtOnce) {
  for (const std::size_t jobs : {1U, 3U, 8U, 50U}) {
    Shop shop;
    RecordingSink sink;
    FakePacer pacer;
    const std::vector<std::string> printers = Names(40);
    const FleetSummary summary =
        RunFleet(printers, {jobs, std::nullopt, {}}, Factory(shop), nullptr, pacer, sink);
    EXPECT_EQ(shop.taken, std::multiset<std::string>(printers.begin(), printers.end())) << jobs;
    EXPECT_LE(shop.mostRunning, jobs);
    EXPECT_EQ(shop.workersMade, std::min<std::size_t>(jobs, 40));
    EXPECT_EQ(sink.results.size(), 40U);
    EXPECT_EQ(summary.total, 40U);
    EXPECT_EQ(Count(summary, FleetOutcome::kExecuted), 40U);
    EXPECT_TRUE(summary.AllSucceeded());
    ASSERT_EQ(sink.progress.size(), 40U);
    EXPECT_EQ(sink.progress.back(), std::make_pair(std::size_t{40}, std::size_t{40}));
  }
}

TEST(RunFleet, AFailingPrinterDoesNotStopTheOthersAndTheWorstOutcomeCounts) {
  struct Case {
    std::map<std::string, FleetOutcome> outcomes;
    FleetOutcome worst;
  };
  const Case cases[] = {
      {{}, FleetOutcome::kExecuted},
      {{{"Q101", FleetOutcome::kNotRecognized}}, FleetOutcome::kNotRecognized},
      {{{"Q101", FleetOutcome::kNotRecognized}, {"Q105", FleetOutcome::kFailed}},
       FleetOutcome::kFailed},
      {{{"Q103", FleetOutcome::kNotReady}, {"Q104", FleetOutcome::kReady}},
       FleetOutcome::kNotReady},
  };
  for (const Case& c : cases) {
    Shop shop;
    shop.outcomes = c.outcomes;
    RecordingSink sink;
    FakePacer pacer;
    const FleetSummary summary =
        RunFleet(Names(8), {2, std::nullopt, {}}, Factory(shop), nullptr, pacer, sink);
    EXPECT_EQ(summary.worst, c.worst);
    EXPECT_EQ(sink.results.size(), 8U);
    for (const auto& [printer, outcome] : c.outcomes) {
      EXPECT_EQ(sink.Of(printer).outcome, outcome);
      EXPECT_EQ(sink.Of(printer).detail, "scripted");
      EXPECT_EQ(Count(summary, outcome), 1U);
    }
    EXPECT_EQ(Count(summary, FleetOutcome::kExecuted), 8 - c.outcomes.size());
  }
}

TEST(RunFleet, FollowsAllJobsTogetherOneQuestionPerRound) {
  Shop shop;
  RecordingSink sink;
  FakePacer pacer;
  BatchTracker tracker(pacer);
  tracker.states["Q102"] = JobState::kAborted;
  tracker.stoppedPrinter = "Q103";
  const FleetSummary summary =
      RunFleet(Names(6), {3, seconds(10), {}}, Factory(shop), &tracker, pacer, sink);
  EXPECT_EQ(Count(summary, FleetOutcome::kPrinted), 4U);
  EXPECT_EQ(sink.Of("Q102").outcome, FleetOutcome::kNotPrinted);
  EXPECT_EQ(sink.Of("Q103").outcome, FleetOutcome::kNotPrinted);
  EXPECT_NE(sink.Of("Q103").detail.find("the printer is stopped"), std::string::npos);
  EXPECT_EQ(summary.worst, FleetOutcome::kNotPrinted);
  // Once every job is taken, a round asks about all of those still open in one call; no round
  // names a job twice, and no printer is asked about on its own.
  ASSERT_FALSE(tracker.jobRounds.empty());
  EXPECT_EQ(tracker.jobRounds.back().size(), 4U);
  EXPECT_LT(tracker.jobRounds.size(), 12U);
  for (const std::vector<JobRef>& round : tracker.jobRounds) {
    std::set<int> ids;
    for (const JobRef& job : round) {
      EXPECT_TRUE(ids.insert(job.id).second);
    }
  }
  EXPECT_TRUE(tracker.singlePrinterQuestions.empty());
  EXPECT_LE(tracker.printerRounds.size(), tracker.jobRounds.size());  // none once all completed
}

TEST(RunFleet, AJobWithoutVerdictInTimeIsNotConfirmedAndKeepsItsId) {
  Shop shop;
  RecordingSink sink;
  FakePacer pacer;
  BatchTracker tracker(pacer);
  tracker.completeAfter = milliseconds(60'000);
  const FleetSummary summary =
      RunFleet(Names(2), {2, seconds(3), {}}, Factory(shop), &tracker, pacer, sink);
  EXPECT_EQ(Count(summary, FleetOutcome::kNotConfirmed), 2U);
  EXPECT_TRUE(summary.confirmedBy.empty());  // the spooler was asked, but confirmed nothing
  EXPECT_NE(sink.results.front().jobId, 0);
  EXPECT_NE(sink.results.front().detail.find("3 s"), std::string::npos)
      << sink.results.front().detail;
  EXPECT_GE(pacer.Elapsed(), milliseconds(3000));
  EXPECT_LT(pacer.Elapsed(), milliseconds(5000));
}

// Ctrl-C at the first look: the printer being sent to finishes and is reported, no other is
// started, and the rest are reported as not sent.
class InterruptingPacer : public Pacer {
 public:
  milliseconds Elapsed() override { return milliseconds{0}; }
  bool Pause(milliseconds /*duration*/) override {
    asked = true;
    return false;
  }
  std::atomic<bool> asked{false};
};

class WaitingWorker : public FleetWorker {
 public:
  WaitingWorker(Shop& shop, InterruptingPacer& pacer) : shop_(shop), pacer_(pacer) {}
  PrinterResult Run(const std::string& printer, std::optional<JobRef>& job) override {
    while (!pacer_.asked) {
      std::this_thread::sleep_for(milliseconds(1));
    }
    const std::lock_guard<std::mutex> lock(shop_.mutex);
    shop_.taken.insert(printer);
    job = JobRef{printer, 7};
    return {printer, FleetOutcome::kExecuted, 7, milliseconds{0}, "", ""};
  }

 private:
  Shop& shop_;
  InterruptingPacer& pacer_;
};

TEST(RunFleet, CtrlCStartsNoNewJobAndReportsWhatWasSent) {
  for (const bool wait : {false, true}) {
    Shop shop;
    RecordingSink sink;
    InterruptingPacer pacer;
    BatchTracker tracker(pacer);
    std::optional<seconds> limit;
    if (wait) {
      limit = seconds(60);
    }
    const FleetSummary summary = RunFleet(
        Names(5), {1, limit, {}}, [&] { return std::make_unique<WaitingWorker>(shop, pacer); },
        &tracker, pacer, sink);
    EXPECT_EQ(shop.taken, std::multiset<std::string>{"Q100"});
    ASSERT_EQ(sink.results.size(), 5U);
    const PrinterResult& sent = sink.Of("Q100");
    EXPECT_EQ(sent.jobId, 7);
    EXPECT_EQ(sent.outcome, wait ? FleetOutcome::kNotConfirmed : FleetOutcome::kExecuted);
    EXPECT_EQ(Count(summary, FleetOutcome::kNotSent), 4U);
    EXPECT_EQ(sink.Of("Q104").outcome, FleetOutcome::kNotSent);
    EXPECT_EQ(sink.Of("Q104").jobId, 0);
    EXPECT_EQ(summary.worst, FleetOutcome::kNotSent);
  }
}

TEST(RunFleet, AWorkerThatCannotBeMadeStillAnswersForEachPrinter) {
  RecordingSink sink;
  FakePacer pacer;
  const FleetSummary summary = RunFleet(
      Names(3), {2, std::nullopt, {}},
      []() -> std::unique_ptr<FleetWorker> {
        throw PlatformError("Connect", "Connection refused");
      },
      nullptr, pacer, sink);
  EXPECT_EQ(Count(summary, FleetOutcome::kFailed), 3U);
  EXPECT_NE(sink.Of("Q102").detail.find("Connection refused"), std::string::npos);
}

TEST(FleetSeverity, OrdersOutcomesFromSuccessToNothingSent) {
  const std::pair<FleetOutcome, int> cases[] = {
      {FleetOutcome::kPrinted, 0},       {FleetOutcome::kExecuted, 0},
      {FleetOutcome::kReady, 0},         {FleetOutcome::kNotConfirmed, 1},
      {FleetOutcome::kNotPrinted, 2},    {FleetOutcome::kNotReady, 2},
      {FleetOutcome::kNotRecognized, 3}, {FleetOutcome::kFailed, 4},
      {FleetOutcome::kNotSent, 4},       {FleetOutcome::kRefused, 5},
  };
  for (const auto& [outcome, severity] : cases) {
    EXPECT_EQ(Severity(outcome), severity) << OutcomeName(outcome);
  }
}

TEST(FleetReport, LinesSummaryAndJson) {
  const PrinterResult sent{"Q1", FleetOutcome::kExecuted, 41, milliseconds(40), "", ""};
  const PrinterResult failed{
      "Q\"2", FleetOutcome::kFailed, 0, milliseconds(1234), "Create-Job: not accepting\tjobs", ""};
  EXPECT_EQ(FleetLine(sent), "Q1: executed, job 41, 0.04 s");
  EXPECT_EQ(FleetLine(failed), "Q\"2: failed, 1.23 s: Create-Job: not accepting\tjobs");
  EXPECT_EQ(FleetJsonItem(sent),
            "{\"printer\": \"Q1\", \"outcome\": \"executed\", \"job\": 41, \"seconds\": 0.04, "
            "\"detail\": \"\", \"confirmedBy\": null}");
  EXPECT_EQ(FleetJsonItem(failed),
            "{\"printer\": \"Q\\\"2\", \"outcome\": \"failed\", \"job\": null, \"seconds\": 1.23, "
            "\"detail\": \"Create-Job: not accepting\\u0009jobs\", \"confirmedBy\": null}");
  FleetSummary summary;
  summary.total = 5;
  summary.counts[static_cast<std::size_t>(FleetOutcome::kExecuted)] = 3;
  summary.counts[static_cast<std::size_t>(FleetOutcome::kNotRecognized)] = 1;
  summary.counts[static_cast<std::size_t>(FleetOutcome::kFailed)] = 1;
  EXPECT_EQ(FleetSummaryLine(summary, milliseconds(2500)),
            "5 printers in 2.50 s: 3 executed, 1 not recognized, 1 failed");
  EXPECT_EQ(FleetSummaryJson(summary, milliseconds(2500)),
            "{\"printers\": 5, \"seconds\": 2.50, \"printed\": 0, \"executed\": 3, \"ready\": 0, "
            "\"notConfirmed\": 0, \"notPrinted\": 0, \"notReady\": 0, \"notRecognized\": 1, "
            "\"failed\": 1, \"notSent\": 0, \"refused\": 0, \"confirmedBy\": {}}");
  // The printer's own verdicts are named on their lines and counted in the summary.
  PrinterResult byAgent{"h:9100",          FleetOutcome::kPrinted,    0,
                        milliseconds(500), "1 page (counter 1 -> 2)", "snmp"};
  EXPECT_EQ(FleetLine(byAgent), "h:9100: printed (snmp), 0.50 s: 1 page (counter 1 -> 2)");
  byAgent.confirmedBy = "spooler";
  EXPECT_EQ(FleetLine(byAgent), "h:9100: printed, 0.50 s: 1 page (counter 1 -> 2)");
  // Asked but silent: nobody confirmed, so the JSON names no one.
  const PrinterResult silent{"h:9100",          FleetOutcome::kNotConfirmed,      0,
                             milliseconds(500), "the printer did not answer PJL", "pjl"};
  EXPECT_TRUE(json::Value::parse(FleetJsonItem(silent))["confirmedBy"].is_null());
  summary.confirmedBy = {{"pjl", 1}, {"snmp", 2}, {"spooler", 4}};
  EXPECT_EQ(FleetSummaryLine(summary, milliseconds(2500)),
            "5 printers in 2.50 s: 3 executed, 1 not recognized, 1 failed; confirmed by the "
            "printers: 1 pjl, 2 snmp");
  EXPECT_EQ(json::Value::parse(FleetSummaryJson(summary, milliseconds(2500)))["confirmedBy"],
            json::Value::parse("{\"pjl\": 1, \"snmp\": 2, \"spooler\": 4}"));
  EXPECT_EQ(JoinedLines({"Not printed: held.", "Job 3: held", "Printer Q: idle"}),
            "Not printed: held. Job 3: held; Printer Q: idle");
}

// A name typed with a byte that breaks UTF-8 (0xC3 alone) and a reason in Latin-1: the item is
// still JSON; the name shows U+FFFD and carries its bytes, the reason's byte stands for the
// character of its number.
TEST(FleetReport, JsonOfNamesAndReasonsThatAreNotUtf8) {
  const PrinterResult result{
      "h\xC3x:1", FleetOutcome::kFailed, 0, milliseconds(1230), "connect to h\xC3x:1: r\xE9seau",
      ""};
  json::Value item;
  ASSERT_NO_THROW(item = json::Value::parse(FleetJsonItem(result)));
  EXPECT_EQ(item, json::Value::parse("{\"printer\": \"h\\uFFFDx:1\", "
                                     "\"printerBytes\": \"h\\\\xC3x:1\", \"outcome\": \"failed\", "
                                     "\"job\": null, \"seconds\": 1.23, "
                                     "\"detail\": \"connect to h\\u00C3x:1: r\\u00E9seau\", "
                                     "\"confirmedBy\": null}"));
  EXPECT_EQ(item["printer"], "h\xEF\xBF\xBDx:1");
  std::vector<std::string> names;
  for (const auto& [name, value] : item.items()) {
    names.push_back(name);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"printer", "printerBytes", "outcome", "job", "seconds",
                                             "detail", "confirmedBy"}));
  FleetSummary summary;
  summary.total = 1;
  summary.counts[static_cast<std::size_t>(FleetOutcome::kFailed)] = 1;
  const json::Value counts = json::Value::parse(FleetSummaryJson(summary, milliseconds(40)));
  EXPECT_EQ(counts["printers"], 1);
  EXPECT_DOUBLE_EQ(counts["seconds"].get<double>(), 0.04);
  EXPECT_EQ(counts["failed"], 1);
  EXPECT_EQ(counts["printed"], 0);
  EXPECT_EQ(counts.size(), 13U);  // printers, seconds, the ten outcomes and the sources
  EXPECT_EQ(counts["confirmedBy"], json::Value::object());
}

}  // namespace
}  // namespace quorvel
