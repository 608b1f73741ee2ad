// Runs over several print servers: names SERVER/QUEUE, one worker road per server, a server down
// failing only its own queues, and each server's jobs followed on that server's tracker.
#include "printing/servers.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/platform_error.h"
#include "fakes/fakes.h"
#include "pages/dot_matrix_page.h"

namespace quorvel::testing {
namespace {

TEST(ServerQueues, TheFirstSlashPartsServerAndQueue) {
  struct Row {
    std::string name;
    std::string server;
    std::string queue;
  };
  const Row rows[] = {
      {"127.0.0.1:631/Virtual", "127.0.0.1:631", "Virtual"},
      {"printhost/Lab/draft", "printhost", "Lab/draft"},
      {"printhost", "printhost", ""},
      {"[::1]:6310/Q", "[::1]:6310", "Q"},
  };
  for (const Row& row : rows) {
    const ServerQueue where = SplitServerQueue(row.name);
    EXPECT_EQ(where.server, row.server) << row.name;
    EXPECT_EQ(where.queue, row.queue) << row.name;
    EXPECT_EQ(ServerQueueName(row.server, row.queue), row.name);
  }
}

// One server's printers: the queues Q1 and Q2; or, for a server that is down, nothing at all.
class ServerAccess : public PrinterAccess {
 public:
  explicit ServerAccess(bool down) : down_(down) {}
  std::unique_ptr<PrinterList> MakePrinterList() override {
    if (down_) {
      throw PlatformError("Connect to B:631", "Connection refused");
    }
    return std::make_unique<FakePrinterList>(std::vector<std::string>{"Q1", "Q2"}, "Q1");
  }
  std::unique_ptr<Spooler> MakeSpooler() override {
    auto spooler = std::make_unique<RecordingSpooler>();
    spooler->submitted = JobRef{"Q1", 7};
    spoolers.push_back(spooler.get());
    return spooler;
  }
  std::unique_ptr<JobTracker> MakeJobTracker() override {
    return std::make_unique<FakeJobTracker>();
  }
  SpoolerConnection MakeIppConnection() override { return {}; }
  std::unique_ptr<Spooler> MakePortSpooler() override { return nullptr; }
  std::unique_ptr<Spooler> MakeReplyingPortSpooler(BackChannelRead /*read*/,
                                                   BackChannel& /*into*/) override {
    return nullptr;
  }
  std::optional<std::string> PortAddress(const std::string& /*target*/) override { return {}; }
  void ProbePort(const std::string& /*address*/) override {}

  std::vector<RecordingSpooler*> spoolers;

 private:
  bool down_;
};

TEST(ServersWorker, EachServerGoesItsOwnRoadAndADownServerFailsOnlyItsQueues) {
  ServerAccess a(false);
  ServerAccess b(true);
  std::vector<std::string> asked;
  const ServerFailures unreachable = {{"C:631", "CUPS-Get-Printers: Connection refused"}};
  ServersWorker worker(
      [&](const std::string& server) -> PrinterAccess& {
        asked.push_back(server);
        return server == "A:631" ? static_cast<PrinterAccess&>(a) : b;
      },
      RoadTask{FleetTask::kPrint, &ComposeDotMatrixPage, std::nullopt, {}}, unreachable);

  struct Row {
    std::string printer;
    FleetOutcome outcome;
    std::string job;  // the job the run follows, "" for none
    std::string detail;
  };
  const Row rows[] = {
      {"A:631/Q1", FleetOutcome::kExecuted, "A:631/Q1 7", ""},
      {"B:631/Q1", FleetOutcome::kFailed, "",
       "the print server could not be reached: Connect to B:631: Connection refused"},
      {"A:631/Q2", FleetOutcome::kExecuted, "A:631/Q1 7", ""},
      {"B:631/Q2", FleetOutcome::kFailed, "",
       "the print server could not be reached: Connect to B:631: Connection refused"},
      {"A:631/Nope", FleetOutcome::kNotRecognized, "", ""},
      {"C:631", FleetOutcome::kFailed, "",
       "the print server's queues could not be listed: CUPS-Get-Printers: Connection refused"},
  };
  for (const Row& row : rows) {
    std::optional<JobRef> job;
    const PrinterResult result = worker.Run(row.printer, job);
    EXPECT_EQ(result.printer, row.printer);
    EXPECT_EQ(result.outcome, row.outcome) << row.printer << ": " << result.detail;
    EXPECT_EQ(job ? job->printer + " " + std::to_string(job->id) : "", row.job) << row.printer;
    if (!row.detail.empty()) {
      EXPECT_EQ(result.detail, row.detail);
    }
  }
  // A's road is made once for its three queues; B is tried once for its two.
  EXPECT_EQ(asked, (std::vector<std::string>{"A:631", "B:631"}));
  ASSERT_EQ(a.spoolers.size(), 1U);
  EXPECT_EQ(a.spoolers[0]->calls.front(), "Open Q1");
}

TEST(ServersTracker, EachServerIsAskedForItsOwnJobsInOneQuestion) {
  std::map<std::string, FakeJobTracker*> made;
  ServersTracker tracker([&](const std::string& server) {
    auto fake = std::make_unique<FakeJobTracker>();
    fake->jobStates = {
        JobStatus{server == "A" ? JobState::kCompleted : JobState::kAborted, {}, ""}};
    made[server] = fake.get();
    return fake;
  });
  const std::vector<JobStatus> statuses =
      tracker.QueryJobs({{"A/Q1", 1}, {"B/Q1", 1}, {"A/Q2", 2}, {"B/Q3", 5}});
  ASSERT_EQ(statuses.size(), 4U);
  EXPECT_EQ(statuses[0].state, JobState::kCompleted);
  EXPECT_EQ(statuses[1].state, JobState::kAborted);
  EXPECT_EQ(statuses[2].state, JobState::kCompleted);
  EXPECT_EQ(statuses[3].state, JobState::kAborted);
  ASSERT_EQ(made.size(), 2U);
  EXPECT_EQ(made["A"]->calls, (std::vector<std::string>{"job Q1-1", "job Q2-2"}));
  EXPECT_EQ(made["B"]->calls, (std::vector<std::string>{"job Q1-1", "job Q3-5"}));
  EXPECT_EQ(made["A"]->rounds, 1U);
  EXPECT_EQ(made["B"]->rounds, 1U);

  tracker.QueryPrinters({"B/Q3", "A/Q1"});
  EXPECT_EQ(made["A"]->calls.back(), "printer Q1");
  EXPECT_EQ(made["B"]->calls.back(), "printer Q3");
  EXPECT_EQ(made.size(), 2U);  // the trackers are made once per server
}

// A tracker per server: A's jobs complete, B never answers.
ServersTracker::TrackerFactory AnswersOnlyFromA() {
  return [](const std::string& server) {
    auto fake = std::make_unique<FakeJobTracker>();
    fake->jobStates = {JobStatus{JobState::kCompleted, {}, ""}};
    if (server == "B") {
      for (std::size_t round = 0; round < 1000; ++round) {
        fake->failingRounds.insert(round);
      }
    }
    return fake;
  };
}

TEST(ServersTracker, AServerThatDoesNotAnswerLeavesTheOthersAnswers) {
  ServersTracker tracker(AnswersOnlyFromA());
  try {
    tracker.QueryJobs({{"B/Q1", 1}, {"A/Q1", 1}});
    FAIL() << "B's silence is not reported";
  } catch (const PartialAnswers& e) {
    EXPECT_EQ(e.failures, (std::vector<std::string>{
                              "Get-Job-Attributes: the print server did not answer within 8 "
                              "seconds",
                              ""}));
    ASSERT_EQ(e.jobs.size(), 2U);
    EXPECT_EQ(e.jobs[1].state, JobState::kCompleted);
  }
}

// A worker whose every printer takes a job, named after the printer.
class TakingWorker : public FleetWorker {
 public:
  PrinterResult Run(const std::string& printer, std::optional<JobRef>& job) override {
    job = JobRef{printer, 1};
    return {printer, FleetOutcome::kExecuted, 1, std::chrono::milliseconds{0}, "", ""};
  }
};

class NullSink : public FleetSink {
 public:
  void Finished(const PrinterResult& result) override { results[result.printer] = result; }
  void Progress(std::size_t /*done*/, std::size_t /*total*/) override {}
  std::map<std::string, PrinterResult> results;
};

TEST(ServersTracker, ARunFollowsTheJobsOfTheServersThatAnswer) {
  ServersTracker tracker(AnswersOnlyFromA());
  FakePacer pacer;
  NullSink sink;
  const FleetSummary summary = RunFleet(
      {"A/Q1", "B/Q1", "A/Q2"}, {2, std::chrono::seconds(5), {}},
      [] { return std::make_unique<TakingWorker>(); }, &tracker, pacer, sink);
  EXPECT_EQ(sink.results.at("A/Q1").outcome, FleetOutcome::kPrinted);
  EXPECT_EQ(sink.results.at("A/Q2").outcome, FleetOutcome::kPrinted);
  EXPECT_EQ(sink.results.at("B/Q1").outcome, FleetOutcome::kNotConfirmed);
  EXPECT_NE(sink.results.at("B/Q1").detail.find("did not answer within 8 seconds"),
            std::string::npos)
      << sink.results.at("B/Q1").detail;
  EXPECT_EQ(summary.worst, FleetOutcome::kNotConfirmed);
}

}  // namespace
}  // namespace quorvel::testing
