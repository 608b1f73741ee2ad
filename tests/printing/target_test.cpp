#include "printing/target.h"

#include <gtest/gtest.h>

#include "printing/port_question.h"
#include "printing/road_worker.h"

#include "fakes/fakes.h"
#include "pages/dot_matrix_page.h"
#include "pages/pcl_page.h"
#include "printing/outcomes.h"

namespace quorvel {
namespace {

using std::chrono::seconds;
using testing::FakeJobTracker;
using testing::FakePacer;
using testing::FakePrinterList;
using testing::RecordingMessageDisplay;
using testing::RecordingSpooler;

PageText TwoBytes() {
  return "AB";
}

TEST(OutcomeTable, NamesExitStatusesAndSuccesses) {
  struct Row {
    FleetOutcome outcome;
    const char* name;
    int exitStatus;
    bool success;
  };
  const Row rows[] = {
      {FleetOutcome::kPrinted, "printed", 0, true},
      {FleetOutcome::kExecuted, "executed", 0, true},
      {FleetOutcome::kReady, "ready", 0, true},
      {FleetOutcome::kNotConfirmed, "not confirmed", 6, false},
      {FleetOutcome::kNotPrinted, "not printed", 5, false},
      {FleetOutcome::kNotReady, "not ready", 5, false},
      {FleetOutcome::kNotRecognized, "not recognized", 3, false},
      {FleetOutcome::kFailed, "failed", 4, false},
      {FleetOutcome::kNotSent, "not sent", 4, false},
      {FleetOutcome::kRefused, "refused", 2, false},
  };
  ASSERT_EQ(std::size(rows), kFleetOutcomeCount);
  for (const Row& row : rows) {
    EXPECT_STREQ(OutcomeName(row.outcome), row.name);
    EXPECT_EQ(ExitStatusOf(row.outcome), row.exitStatus) << row.name;
    EXPECT_EQ(Succeeded(row.outcome), row.success) << row.name;
  }
}

TEST(OutcomeTable, EveryVerdictHasItsOutcome) {
  EXPECT_EQ(OutcomeOf(PrintOutcome::kExecuted), FleetOutcome::kExecuted);
  EXPECT_EQ(OutcomeOf(PrintOutcome::kNotRecognized), FleetOutcome::kNotRecognized);
  EXPECT_EQ(OutcomeOf(PrintOutcome::kSendFailed), FleetOutcome::kFailed);
  EXPECT_EQ(OutcomeOf(JobVerdict::kPrinted), FleetOutcome::kPrinted);
  EXPECT_EQ(OutcomeOf(JobVerdict::kNotPrinted), FleetOutcome::kNotPrinted);
  EXPECT_EQ(OutcomeOf(JobVerdict::kNotConfirmed), FleetOutcome::kNotConfirmed);
  EXPECT_EQ(OutcomeOf(CheckVerdict::kReady), FleetOutcome::kReady);
  EXPECT_EQ(OutcomeOf(CheckVerdict::kNotReady), FleetOutcome::kNotReady);
  EXPECT_EQ(OutcomeOf(CheckVerdict::kNoSuchPrinter), FleetOutcome::kNotRecognized);
  EXPECT_EQ(OutcomeOf(CheckVerdict::kStopped), FleetOutcome::kFailed);
}

// A spooler that also notes each device it opens, and the bytes it is sent, with the access that
// made it, which outlives it.
class NotingSpooler : public RecordingSpooler {
 public:
  explicit NotingSpooler(std::vector<std::string>& opened, std::string* sent = nullptr)
      : opened_(opened), sent_(sent) {}
  bool Open(const std::string& deviceName) override {
    opened_.push_back(deviceName);
    return RecordingSpooler::Open(deviceName);
  }
  std::size_t Write(std::string_view bytes) override {
    if (sent_ != nullptr) {
      sent_->append(bytes);
    }
    return RecordingSpooler::Write(bytes);
  }

 private:
  std::vector<std::string>& opened_;
  std::string* sent_;
};

// A raw port that answers as the job ends: `reply`, with "JOBNAME" replaced by the name the job's
// PJL header gave.
class ReplyingSpooler : public NotingSpooler {
 public:
  ReplyingSpooler(std::vector<std::string>& opened, const BackChannel& reply, BackChannel& into)
      : NotingSpooler(opened), reply_(reply), into_(into) {}
  void EndDocument() override {
    NotingSpooler::EndDocument();
    const std::string header = written.empty() ? "" : written.front();
    const std::size_t start = header.find("NAME=\"") + 6;
    const std::string name = header.substr(start, header.find('"', start) - start);
    into_ = reply_;
    if (const std::size_t at = into_.bytes.find("JOBNAME"); at != std::string::npos) {
      into_.bytes.replace(at, 7, name);
    }
  }

 private:
  const BackChannel& reply_;
  BackChannel& into_;
};

// Hands out recording fakes and keeps a pointer to each tracker it made.
class FakeAccess : public PrinterAccess {
 public:
  std::unique_ptr<PrinterList> MakePrinterList() override {
    return std::make_unique<FakePrinterList>(std::vector<std::string>{"Q1", "Q2"}, "Q1");
  }
  std::unique_ptr<Spooler> MakeSpooler() override { return Recording(); }
  std::unique_ptr<JobTracker> MakeJobTracker() override { return Tracker(); }
  SpoolerConnection MakeIppConnection() override { return {Recording(), Tracker()}; }
  std::unique_ptr<Spooler> MakePortSpooler() override { return Recording(); }
  // The printer's answer arrives as the job ends, as a raw port's would.
  std::unique_ptr<Spooler> MakeReplyingPortSpooler(BackChannelRead read,
                                                   BackChannel& into) override {
    replyWait = read.limit;
    ++spoolersMade;
    return std::make_unique<ReplyingSpooler>(opened, portReply, into);
  }
  std::optional<std::string> PortAddress(const std::string& target) override {
    return target.find(':') == std::string::npos ? target + ":9100" : target;
  }
  void ProbePort(const std::string& address) override {
    probed.push_back(address);
    if (!portRefuses.empty()) {
      throw PlatformError("connect", portRefuses);
    }
  }

  int spoolersMade = 0;
  std::vector<std::string> opened;  // devices opened by any of its spoolers, in order
  std::string sent;                 // bytes written to its queue, IPP and port spoolers
  std::vector<FakeJobTracker*> trackers;
  std::vector<std::string> probed;
  std::string portRefuses;  // the reason a probe fails with; empty: the port takes it
  std::optional<JobRef> jobTaken;
  BackChannel portReply;
  std::vector<PrinterStatus> printerStates;
  std::chrono::milliseconds replyWait{0};
  std::vector<JobStatus> jobStates{JobStatus{JobState::kCompleted, {}, ""}};

 private:
  std::unique_ptr<Spooler> Recording() {
    auto spooler = std::make_unique<NotingSpooler>(opened, &sent);
    spooler->submitted = jobTaken;
    ++spoolersMade;
    return spooler;
  }
  std::unique_ptr<JobTracker> Tracker() {
    auto tracker = std::make_unique<FakeJobTracker>();
    tracker->jobStates = jobStates;
    tracker->printers = printerStates;
    trackers.push_back(tracker.get());
    return tracker;
  }
};

// With PJL, the raw port's verdict is the printer's report of the job's end; what the printer
// says of another job, or nothing at all, confirms nothing.
TEST(TargetRoads, PjlPortTakesThePrintersReport) {
  struct Case {
    std::string reply;  // "JOBNAME" stands for the job's name
    JobVerdict verdict;
    std::string detail;
  };
  const Case cases[] = {
      {"@PJL USTATUS JOB\r\nEND\r\nNAME=\"JOBNAME\"\r\nPAGES=1\r\n\f", JobVerdict::kPrinted,
       "1 page"},
      {"@PJL USTATUS JOB\r\nEND\r\nNAME=\"JOBNAME\"\r\nPAGES=0\r\n\f", JobVerdict::kNotPrinted,
       "the printer reported the job's end with 0 pages"},
      {"@PJL USTATUS JOB\r\nEND\r\nNAME=\"other\"\r\nPAGES=1\r\n\f", JobVerdict::kNotConfirmed,
       "the printer answered PJL but closed the connection without the job's end"},
      {"", JobVerdict::kNotConfirmed, "the printer did not answer PJL"},
  };
  for (const Case& c : cases) {
    FakeAccess access;
    RoadOptions options;
    options.pjl = true;
    options.wait = seconds(7);
    RecordingMessageDisplay messages;
    const std::unique_ptr<TargetRoad> road = MakeRoad(TargetKind::kRawPort, access, options);
    access.portReply.bytes = c.reply;
    ASSERT_EQ(road->Send("printer", &TwoBytes, messages), PrintOutcome::kExecuted);
    EXPECT_EQ(road->FollowedBy(), TargetRoad::Follower::kDevice);
    EXPECT_EQ(access.replyWait, std::chrono::milliseconds(7000));
    const std::optional<DeviceVerdict> verdict = road->DeviceConfirmation();
    ASSERT_TRUE(verdict.has_value());
    EXPECT_EQ(verdict->source, "pjl");
    EXPECT_EQ(verdict->verdict, c.verdict) << c.reply;
    EXPECT_EQ(verdict->detail, c.detail) << c.reply;
    // The page went between the header and the trailer, its bytes and form feed unchanged.
    ASSERT_EQ(access.opened, std::vector<std::string>{"printer:9100"});
  }
}

// Asking a port: the steps go in the spooler's order, and a port that does not open or takes
// fewer bytes than the question is an error naming the step, never an empty answer.
TEST(PortQuestion, ChecksEveryStep) {
  // Keeps the steps of the spooler it hands out after the question has closed it.
  class StepAccess : public FakeAccess {
   public:
    std::unique_ptr<Spooler> MakeReplyingPortSpooler(BackChannelRead /*read*/,
                                                     BackChannel& into) override {
      into.bytes = "@PJL INFO ID\r\n\"LQ-590\"\r\n\f";
      auto spooler = std::make_unique<StepSpooler>(steps);
      spooler->openSucceeds = opens;
      spooler->shortWrite = shortWrite;
      return spooler;
    }
    struct StepSpooler : RecordingSpooler {
      explicit StepSpooler(std::vector<std::string>& into) : into_(into) {}
      ~StepSpooler() override { into_ = calls; }
      std::vector<std::string>& into_;
    };
    bool opens = true;
    bool shortWrite = false;
    std::vector<std::string> steps;
  };
  struct Case {
    bool opens;
    bool shortWrite;
    std::string error;  // empty: the answer comes back
    std::vector<std::string> steps;
  };
  const Case cases[] = {
      {true,
       false,
       "",
       {"Open h:9100", "StartDocument question", "StartPage", "Write 4", "EndPage", "EndDocument",
        "Close"}},
      {false, false, "Open h:9100: the port could not be opened", {"Open h:9100"}},
      {true,
       true,
       "Write h:9100: the port took 3 of 4 bytes",
       {"Open h:9100", "StartDocument question", "StartPage", "Write 4", "Cancel", "Close"}},
  };
  for (const Case& c : cases) {
    StepAccess access;
    access.opens = c.opens;
    access.shortWrite = c.shortWrite;
    std::string error;
    try {
      EXPECT_EQ(AskPort(access, "h:9100", "INFO", {}).bytes, "@PJL INFO ID\r\n\"LQ-590\"\r\n\f");
    } catch (const PlatformError& e) {
      error = e.what();
    }
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(access.steps, c.steps) << c.error;
  }
}

// print auto: the IPP printer's printer-device-id names the page, printer by printer; an ID that
// names neither page sends nothing and says why.
TEST(TargetRoads, TheDeviceIdChoosesThePage) {
  struct Case {
    std::string deviceId;
    bool exists;
    FleetOutcome outcome;
    std::string written;  // the page's first bytes; empty: nothing was sent
    std::string detail;
  };
  const std::string pcl = ComposePclPage();
  const std::string dotMatrix = ComposeDotMatrixPage();
  const Case cases[] = {
      {"MFG:HP;CMD:PCL,PJL;", true, FleetOutcome::kExecuted, pcl, ""},
      {"CMD:ESCP9;MDL:LQ;", true, FleetOutcome::kExecuted, dotMatrix, ""},
      {"CMD:POSTSCRIPT;", true, FleetOutcome::kRefused, "",
       "can't tell which page suits ipp://h/p: name it (its device ID names neither: "
       "CMD:POSTSCRIPT;)"},
      {"", true, FleetOutcome::kRefused, "",
       "can't tell which page suits ipp://h/p: name it (it gives no device ID)"},
      {"", false, FleetOutcome::kRefused, "",
       "can't tell which page suits ipp://h/p: name it (there is no such printer)"},
  };
  for (const Case& c : cases) {
    FakeAccess access;
    PrinterStatus status;
    status.exists = c.exists;
    status.deviceId = c.deviceId;
    access.printerStates = {status};
    RoadOptions options;
    options.choosePage = true;
    RoadWorker worker(access, true, FleetTask::kPrint, nullptr, std::nullopt, nullptr, options);
    std::optional<JobRef> job;
    const PrinterResult result = worker.Run("ipp://h/p", job);
    EXPECT_EQ(result.outcome, c.outcome) << c.deviceId;
    EXPECT_EQ(result.detail, c.detail) << c.deviceId;
    EXPECT_EQ(access.opened.size(), c.written.empty() ? 0U : 1U) << c.deviceId;
    // The page the ID names, and its form feed, is what went out.
    EXPECT_EQ(access.sent, c.written.empty() ? "" : c.written + '\f') << c.deviceId;
  }
}

TEST(TargetRoads, EachKindOpensWhatItNames) {
  struct Case {
    TargetKind kind;
    std::string name;
    PrintOutcome outcome;
    std::vector<std::string> opened;
    TargetRoad::Follower follower;
  };
  const Case cases[] = {
      {TargetKind::kQueue, "Q2", PrintOutcome::kExecuted, {"Q2"}, TargetRoad::Follower::kRun},
      {TargetKind::kQueue, "q2", PrintOutcome::kNotRecognized, {}, TargetRoad::Follower::kRun},
      {TargetKind::kRawPort,
       "printer",
       PrintOutcome::kExecuted,
       {"printer:9100"},
       TargetRoad::Follower::kNobody},
      {TargetKind::kIpp,
       "ipp://h/p",
       PrintOutcome::kExecuted,
       {"ipp://h/p"},
       TargetRoad::Follower::kOwn},
  };
  for (const Case& c : cases) {
    FakeAccess access;
    RecordingMessageDisplay messages;
    const std::unique_ptr<TargetRoad> road = MakeRoad(c.kind, access);
    EXPECT_EQ(road->Send(c.name, &TwoBytes, messages), c.outcome) << c.name;
    EXPECT_EQ(access.spoolersMade, 1) << c.name;
    EXPECT_EQ(access.opened, c.opened) << c.name;
    EXPECT_EQ(road->FollowedBy(), c.follower) << c.name;
    EXPECT_EQ(messages.shown.size(), 1U) << c.name;
  }
}

TEST(TargetRoads, KindsOfNames) {
  EXPECT_EQ(KindOf("ipp://h/p", false), TargetKind::kQueue);  // an installed printer's name
  EXPECT_EQ(KindOf("ipp://h/p", true), TargetKind::kIpp);
  EXPECT_EQ(KindOf("ipps://h/p", true), TargetKind::kIpp);
  EXPECT_EQ(KindOf("h:9100", true), TargetKind::kRawPort);
}

TEST(TargetRoads, ARawPortIsCheckedByTakingAConnection) {
  FakeAccess access;
  access.portRefuses = "Connection refused";
  const std::unique_ptr<TargetRoad> road = MakeRoad(TargetKind::kRawPort, access);
  const PrinterStatus refused = road->Check("printer");
  EXPECT_EQ(access.probed, std::vector<std::string>{"printer:9100"});
  EXPECT_EQ(AssessPrinter(refused), CheckVerdict::kNotReady);
  EXPECT_EQ(refused.message, "Connection refused");
  EXPECT_EQ(refused.state, PrinterState::kUnknown);  // a refusal says nothing of its state
  const std::vector<PrinterDetail> details = {{"port", "printer:9100"},
                                              {"connection", "Connection refused"}};
  EXPECT_EQ(refused.details, details);

  access.portRefuses.clear();
  EXPECT_EQ(AssessPrinter(road->Check("printer:9101")), CheckVerdict::kReady);
}

TEST(TargetRoads, AnInstalledPrinterIsCheckedOnlyWhenItExists) {
  FakeAccess access;
  const std::unique_ptr<TargetRoad> road = MakeRoad(TargetKind::kQueue, access);
  EXPECT_EQ(road->DefaultPrinter(), "Q1");
  EXPECT_FALSE(road->Check("Q3").exists);
  EXPECT_TRUE(access.trackers.empty() || access.trackers[0]->calls.empty());
  road->Check("Q1");
  ASSERT_EQ(access.trackers.size(), 1U);
  EXPECT_EQ(access.trackers[0]->calls, std::vector<std::string>{"printer Q1"});
}

TEST(RoadWorker, EachKindEndsAsItsFollowerAllows) {
  struct Case {
    bool direct;
    std::string printer;
    std::optional<seconds> wait;
    FleetOutcome outcome;
    bool handedToRun;  // the job goes to the run's tracker
  };
  const Case cases[] = {
      {true, "printer", std::nullopt, FleetOutcome::kExecuted, false},
      {true, "printer", seconds(5), FleetOutcome::kNotConfirmed, false},
      {true, "ipp://h/p", std::nullopt, FleetOutcome::kExecuted, false},
      {true, "ipp://h/p", seconds(5), FleetOutcome::kPrinted, false},
      {false, "Q2", seconds(5), FleetOutcome::kExecuted, true},
      {false, "Q9", seconds(5), FleetOutcome::kNotRecognized, false},
  };
  for (const Case& c : cases) {
    FakeAccess access;
    access.jobTaken = JobRef{c.printer, 7};
    RoadWorker worker(access, c.direct, FleetTask::kPrint, &TwoBytes, c.wait,
                      [] { return std::make_unique<FakePacer>(); });
    std::optional<JobRef> job;
    const PrinterResult result = worker.Run(c.printer, job);
    EXPECT_EQ(result.outcome, c.outcome) << c.printer;
    EXPECT_EQ(job.has_value(), c.handedToRun) << c.printer;
    if (c.outcome == FleetOutcome::kNotConfirmed) {
      EXPECT_EQ(result.detail, kRawPortNotConfirmed);
    }
  }
}

TEST(RoadWorker, ChecksSayWhyNotReady) {
  FakeAccess access;
  access.portRefuses = "Connection refused";
  RoadWorker worker(access, true, FleetTask::kCheck, nullptr, std::nullopt, nullptr);
  std::optional<JobRef> job;
  const PrinterResult result = worker.Run("printer", job);
  EXPECT_EQ(result.outcome, FleetOutcome::kNotReady);
  EXPECT_EQ(result.detail, "it is not reachable: Connection refused");
}

}  // namespace
}  // namespace quorvel
