#include "printing/target.h"

#include <exception>
#include <utility>

#include "app/printers.h"
#include "common/platform_error.h"
#include "printing/pjl.h"

namespace quorvel {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Installed printers: looked up by their exact name and sent through the buttons' flow; the
// print server follows the job and tells how the printer stands.
class QueueRoad : public TargetRoad {
 public:
  explicit QueueRoad(PrinterAccess& access)
      : access_(access),
        list_(access.MakePrinterList()),
        spooler_(access.MakeSpooler()),
        printers_(*list_) {}

  std::string DefaultPrinter() override { return list_->DefaultDeviceName().value_or(""); }

  PrintOutcome Send(const std::string& name, PageComposer composer,
                    MessageDisplay& messages) override {
    return PrintTestPageNamed(printers_, name, *spooler_, messages, composer);
  }
  std::optional<JobRef> SubmittedJob() override { return spooler_->SubmittedJob(); }
  Follower FollowedBy() const override { return Follower::kRun; }
  JobTracker* Tracker() override { return &OwnTracker(); }

  PrinterStatus Check(const std::string& name) override {
    return !name.empty() && list_->HasDeviceName(name) ? OwnTracker().QueryPrinter(name)
                                                       : PrinterStatus{};
  }

 private:
  // Made when first needed: a print that is not followed asks nothing after the send.
  JobTracker& OwnTracker() {
    if (!tracker_) {
      tracker_ = access_.MakeJobTracker();
    }
    return *tracker_;
  }

  PrinterAccess& access_;
  std::unique_ptr<PrinterList> list_;
  std::unique_ptr<Spooler> spooler_;
  std::unique_ptr<JobTracker> tracker_;
  Printers printers_;
};

// IPP printers: each send on a connection of its own, which then follows that job.
class IppRoad : public TargetRoad {
 public:
  explicit IppRoad(PrinterAccess& access) : access_(access) {}

  PrintOutcome Send(const std::string& name, PageComposer composer,
                    MessageDisplay& messages) override {
    connection_ = access_.MakeIppConnection();
    return SendTestJob(name, *connection_.spooler, messages, composer);
  }
  std::optional<JobRef> SubmittedJob() override {
    return connection_.spooler ? connection_.spooler->SubmittedJob() : std::nullopt;
  }
  Follower FollowedBy() const override { return Follower::kOwn; }
  JobTracker* Tracker() override { return connection_.tracker.get(); }

  PrinterStatus Check(const std::string& name) override {
    return access_.MakeIppConnection().tracker->QueryPrinter(name);
  }

 private:
  PrinterAccess& access_;
  SpoolerConnection connection_;
};

// Raw ports: the job is the connection, and taking a connection is all a port says of itself,
// unless the printer is asked in PJL, on that same connection, to report the job's end.
class PortRoad : public TargetRoad {
 public:
  PortRoad(PrinterAccess& access, const RoadOptions& options)
      : access_(access), options_(options) {}

  std::string DisplayName(const std::string& name) override {
    return access_.PortAddress(name).value_or(name);
  }

  PrintOutcome Send(const std::string& name, PageComposer composer,
                    MessageDisplay& messages) override {
    confirmation_.reset();
    const std::string jobName = PjlJobName();
    BackChannel reply;
    std::unique_ptr<Spooler> spooler;
    try {
      if (options_.pjl) {
        BackChannelRead read{options_.wait, kPjlReplyCap, [&jobName](std::string_view bytes) {
                               return FindJobEnd(bytes, jobName).has_value();
                             }};
        spooler = access_.MakeReplyingPortSpooler(std::move(read), reply);
      } else {
        spooler = access_.MakePortSpooler();
      }
    } catch (const std::exception& e) {
      // The socket library itself could not start: nothing was sent.
      messages.Show(std::string(kSendFailed) + "\n" + e.what());
      return PrintOutcome::kSendFailed;
    }
    if (!options_.pjl) {
      return SendTestJob(DisplayName(name), *spooler, messages, composer);
    }
    PjlJobSpooler pjl(*spooler, jobName);
    const PrintOutcome outcome = SendTestJob(DisplayName(name), pjl, messages, composer);
    if (outcome == PrintOutcome::kExecuted) {
      confirmation_ = JudgePjlReply(reply, jobName);
    }
    return outcome;
  }

  Follower FollowedBy() const override {
    return options_.pjl ? Follower::kDevice : Follower::kNobody;
  }
  std::optional<DeviceVerdict> DeviceConfirmation() override { return confirmation_; }

  PrinterStatus Check(const std::string& name) override {
    PrinterStatus status;
    status.exists = true;
    status.details.emplace_back("port", DisplayName(name));
    try {
      access_.ProbePort(DisplayName(name));
      status.state = PrinterState::kIdle;
      status.details.emplace_back("connection", "accepted");
      if (options_.pjl) {
        AskPjl(name, status);
      }
    } catch (const PlatformError& e) {
      status.acceptingJobs = false;
      status.state = PrinterState::kStopped;
      status.message = e.Reason();
      status.details.emplace_back("connection", e.Reason());
    }
    return status;
  }

 private:
  // INFO ID and INFO STATUS on a connection of their own; the answers become the check's lines.
  void AskPjl(const std::string& name, PrinterStatus& status) {
    BackChannel reply;
    BackChannelRead read{std::min<std::chrono::milliseconds>(options_.wait, kPjlInfoWait),
                         kPjlReplyCap,
                         [](std::string_view bytes) { return HasInfoAnswers(bytes); }};
    const std::unique_ptr<Spooler> spooler = access_.MakeReplyingPortSpooler(read, reply);
    if (!spooler->Open(DisplayName(name))) {
      return;
    }
    spooler->Write(PjlInfoQuery());
    spooler->EndDocument();
    spooler->Close();
    for (PrinterDetail& detail : PjlInfoDetails(reply)) {
      status.details.push_back(std::move(detail));
    }
  }

  static constexpr std::chrono::milliseconds kPjlInfoWait{5000};
  PrinterAccess& access_;
  RoadOptions options_;
  std::optional<DeviceVerdict> confirmation_;
};

}  // namespace

std::unique_ptr<TargetRoad> MakeRoad(TargetKind kind, PrinterAccess& access,
                                     const RoadOptions& options) {
  switch (kind) {
    case TargetKind::kQueue:
      return std::make_unique<QueueRoad>(access);
    case TargetKind::kIpp:
      return std::make_unique<IppRoad>(access);
    case TargetKind::kRawPort:
      break;
  }
  return std::make_unique<PortRoad>(access, options);
}

// Sentences follow each other with a space; a sentence and its reason with a colon.
void CollectingMessages::Show(std::string_view text) {
  std::size_t start = 0;
  for (std::size_t end = 0; end != std::string_view::npos; start = end + 1) {
    end = text.find('\n', start);
    const std::string_view line = text.substr(start, end - start);
    if (!text_.empty()) {
      text_ += text_.back() == '.' ? " " : ": ";
    }
    text_.append(line);
  }
}

PrinterResult SendOne(const std::string& printer,
                      const std::function<PrintOutcome(MessageDisplay&)>& send) {
  const Clock::time_point start = Clock::now();
  CollectingMessages messages;
  PrinterResult result{printer, FleetOutcome::kFailed, 0, milliseconds{0}, "", ""};
  try {
    result.outcome = OutcomeOf(send(messages));
  } catch (const std::exception& e) {
    messages.Show(std::string(kSendFailed) + "\n" + e.what());
  }
  if (result.outcome != FleetOutcome::kExecuted) {
    result.detail = messages.Text();
  }
  result.elapsed = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
  return result;
}

RoadWorker::RoadWorker(PrinterAccess& access, bool direct, FleetTask task, PageComposer composer,
                       std::optional<std::chrono::seconds> wait, PacerFactory makePacer,
                       RoadOptions roadOptions)
    : access_(access),
      direct_(direct),
      task_(task),
      composer_(composer),
      wait_(wait),
      makePacer_(std::move(makePacer)),
      roadOptions_(roadOptions) {
  if (!direct_) {
    // Made on the worker's thread before its first printer: a print server that cannot be
    // reached fails the worker, and each of its printers says why.
    roads_[static_cast<std::size_t>(TargetKind::kQueue)] = MakeRoad(TargetKind::kQueue, access_);
  }
}

TargetRoad& RoadWorker::Road(const std::string& printer) {
  const TargetKind kind = KindOf(printer, direct_);
  std::unique_ptr<TargetRoad>& road = roads_[static_cast<std::size_t>(kind)];
  if (!road) {
    road = MakeRoad(kind, access_, roadOptions_);
  }
  return *road;
}

void SettleConfirmed(PrinterResult& result, const std::optional<DeviceVerdict>& verdict) {
  if (!verdict) {
    return;
  }
  result.outcome = OutcomeOf(verdict->verdict);
  result.confirmedBy = verdict->source;
  result.detail = verdict->detail;
}

PrinterResult RoadWorker::Run(const std::string& printer, std::optional<JobRef>& job) {
  return task_ == FleetTask::kCheck ? Check(printer) : Send(printer, job);
}

PrinterResult RoadWorker::Send(const std::string& printer, std::optional<JobRef>& job) {
  TargetRoad* road = nullptr;
  PrinterResult result = SendOne(printer, [&](MessageDisplay& messages) {
    road = &Road(printer);
    return road->Send(printer, composer_, messages);
  });
  if (result.outcome != FleetOutcome::kExecuted) {
    return result;
  }
  const std::optional<JobRef> taken = road->SubmittedJob();
  result.jobId = taken ? taken->id : 0;
  switch (road->FollowedBy()) {
    case TargetRoad::Follower::kNobody:
      if (wait_) {
        result.outcome = FleetOutcome::kNotConfirmed;
        result.detail = kRawPortNotConfirmed;
      }
      return result;
    case TargetRoad::Follower::kRun:
      job = taken;  // the run's tracker follows it with the print server's other jobs
      return result;
    case TargetRoad::Follower::kDevice:
      SettleConfirmed(result, road->DeviceConfirmation());
      return result;
    case TargetRoad::Follower::kOwn:
      break;
  }
  if (wait_ && taken) {
    const std::unique_ptr<Pacer> pacer = makePacer_();
    FollowResult followed = FollowJob(*road->Tracker(), *taken, *wait_, *pacer);
    result.elapsed += pacer->Elapsed();
    SettleFollowed(result, *taken, followed);
  }
  return result;
}

PrinterResult RoadWorker::Check(const std::string& printer) {
  const Clock::time_point start = Clock::now();
  PrinterResult result{printer, FleetOutcome::kFailed, 0, milliseconds{0}, "", ""};
  try {
    const PrinterStatus status = Road(printer).Check(printer);
    result.outcome = OutcomeOf(AssessPrinter(status));
    result.detail = JoinedLines(NotReadyReasons(status));
  } catch (const std::exception& e) {
    result.detail = std::string("the printer could not be checked: ") + e.what();
  }
  result.elapsed = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
  return result;
}

}  // namespace quorvel
