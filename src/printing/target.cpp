#include "printing/target.h"

#include <exception>
#include <thread>
#include <utility>

#include "app/printers.h"
#include "common/platform_error.h"
#include "pages/dot_matrix_page.h"
#include "pages/pcl_page.h"
#include "printing/pjl.h"

namespace quorvel {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Real time, for a road whose user gave no pacer.
class SleepingPacer : public Pacer {
 public:
  milliseconds Elapsed() override {
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start_);
  }
  bool Pause(milliseconds duration) override {
    std::this_thread::sleep_for(duration);
    return true;
  }

 private:
  Clock::time_point start_ = Clock::now();
};

// The printer's page counter over SNMP: read before the job is sent and followed after it.
class CounterWatch {
 public:
  void Before(PrinterAccess& access, const std::string& target, const SnmpOptions& options) {
    session_.reset();
    before_.reset();
    failure_.clear();
    try {
      session_ = access.MakeSnmpSession(HostOf(target), options);
      before_ = ReadDeviceState(*session_).pageCounter;
      if (!before_) {
        failure_ = "the printer's agent gives no page counter (prtMarkerLifeCount)";
      }
    } catch (const std::exception& e) {
      failure_ = e.what();
    }
  }

  DeviceVerdict After(const RoadOptions& options) {
    if (!before_) {
      return {JobVerdict::kNotConfirmed, "snmp", "the page counter could not be read: " + failure_};
    }
    const std::unique_ptr<Pacer> pacer =
        options.makePacer ? options.makePacer() : std::make_unique<SleepingPacer>();
    return FollowPageCounter(*session_, *before_, options.wait, *pacer);
  }

 private:
  std::unique_ptr<SnmpSession> session_;
  std::optional<long long> before_;
  std::string failure_;
};

// A check's SNMP lines: the agent's status, errors and alerts, or why it could not be asked.
void AskSnmp(PrinterAccess& access, const std::string& target, const SnmpOptions& options,
             PrinterStatus& status) {
  try {
    const std::unique_ptr<SnmpSession> session = access.MakeSnmpSession(HostOf(target), options);
    const DeviceState state = ReadDeviceState(*session);
    for (PrinterDetail& detail : DeviceStateDetails(state)) {
      status.details.push_back(std::move(detail));
    }
    status.deviceProblems = DeviceProblems(state);
    status.deviceId = state.deviceId;
  } catch (const std::exception& e) {
    status.details.emplace_back("snmp", e.what());
  }
}

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
  IppRoad(PrinterAccess& access, const RoadOptions& options) : access_(access), options_(options) {}

  PrintOutcome Send(const std::string& name, PageComposer composer,
                    MessageDisplay& messages) override {
    confirmation_.reset();
    if (options_.snmp) {
      watch_.Before(access_, name, *options_.snmp);
    }
    connection_ = access_.MakeIppConnection();
    const PrintOutcome outcome = SendTestJob(name, *connection_.spooler, messages, composer);
    if (outcome == PrintOutcome::kExecuted && options_.snmp) {
      confirmation_ = watch_.After(options_);
    }
    return outcome;
  }
  std::optional<DeviceVerdict> DeviceConfirmation() override { return confirmation_; }
  std::optional<JobRef> SubmittedJob() override {
    return connection_.spooler ? connection_.spooler->SubmittedJob() : std::nullopt;
  }
  Follower FollowedBy() const override {
    return options_.snmp ? Follower::kDevice : Follower::kOwn;
  }
  JobTracker* Tracker() override { return connection_.tracker.get(); }

  PrinterStatus Check(const std::string& name) override {
    PrinterStatus status = access_.MakeIppConnection().tracker->QueryPrinter(name);
    if (options_.snmp && status.exists) {
      AskSnmp(access_, name, *options_.snmp, status);
    }
    return status;
  }

 private:
  PrinterAccess& access_;
  RoadOptions options_;
  SpoolerConnection connection_;
  CounterWatch watch_;
  std::optional<DeviceVerdict> confirmation_;
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
      if (options_.snmp) {
        watch_.Before(access_, DisplayName(name), *options_.snmp);
      }
      const PrintOutcome outcome = SendTestJob(DisplayName(name), *spooler, messages, composer);
      if (outcome == PrintOutcome::kExecuted && options_.snmp) {
        confirmation_ = watch_.After(options_);
      }
      return outcome;
    }
    PjlJobSpooler pjl(*spooler, jobName);
    const PrintOutcome outcome = SendTestJob(DisplayName(name), pjl, messages, composer);
    if (outcome == PrintOutcome::kExecuted) {
      confirmation_ = JudgePjlReply(reply, jobName);
    }
    return outcome;
  }

  Follower FollowedBy() const override {
    return options_.pjl || options_.snmp ? Follower::kDevice : Follower::kNobody;
  }
  std::optional<DeviceVerdict> DeviceConfirmation() override { return confirmation_; }

  // A raw port knows nothing of its printer; the printer's SNMP agent may.
  std::string DeviceId(const std::string& name, std::string& failure) override {
    try {
      const std::unique_ptr<SnmpSession> session =
          access_.MakeSnmpSession(HostOf(DisplayName(name)), options_.snmp.value_or(SnmpOptions{}));
      const std::string id = ReadDeviceId(*session);
      if (id.empty()) {
        failure = "its SNMP agent gives no device ID";
      }
      return id;
    } catch (const std::exception& e) {
      failure = std::string("no device ID: ") + e.what();
      return "";
    }
  }

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
      if (options_.snmp) {
        AskSnmp(access_, DisplayName(name), *options_.snmp, status);
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
  CounterWatch watch_;
  std::optional<DeviceVerdict> confirmation_;
};

}  // namespace

std::string TargetRoad::DeviceId(const std::string& name, std::string& failure) {
  try {
    const PrinterStatus status = Check(name);
    if (!status.exists) {
      failure = "there is no such printer";
    } else if (status.deviceId.empty()) {
      failure = "it gives no device ID";
    }
    return status.deviceId;
  } catch (const std::exception& e) {
    failure = std::string("no device ID: ") + e.what();
    return "";
  }
}

std::optional<PageChoice> ChoosePage(TargetRoad& road, const std::string& name, std::string& why) {
  std::string failure;
  const std::string id = road.DeviceId(name, failure);
  std::optional<PageChoice> choice = PageForDeviceId(id);
  if (!choice) {
    why = CannotTellPage(road.DisplayName(name),
                         id.empty() ? failure : "its device ID names neither: " + id);
  }
  return choice;
}

PageComposer ComposerOfPage(const std::string& page) {
  return page == "pcl" ? &ComposePclPage : &ComposeDotMatrixPage;
}

std::unique_ptr<SnmpSession> PrinterAccess::MakeSnmpSession(const std::string& host,
                                                            const SnmpOptions&) {
  throw PlatformError("SNMP " + host, "this build has no SNMP");
}

std::unique_ptr<TargetRoad> MakeRoad(TargetKind kind, PrinterAccess& access,
                                     const RoadOptions& options) {
  switch (kind) {
    case TargetKind::kQueue:
      return std::make_unique<QueueRoad>(access);
    case TargetKind::kIpp:
      return std::make_unique<IppRoad>(access, options);
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
  PageComposer composer = composer_;
  std::string refused;
  PrinterResult result = SendOne(printer, [&](MessageDisplay& messages) {
    road = &Road(printer);
    if (roadOptions_.choosePage) {
      const std::optional<PageChoice> choice = ChoosePage(*road, printer, refused);
      if (choice && choice->page == "dot-matrix" && roadOptions_.pjl) {
        refused = choice->reason + ", which goes with no PJL";
      }
      if (!refused.empty()) {
        return PrintOutcome::kSendFailed;
      }
      composer = ComposerOfPage(choice->page);
    }
    return road->Send(printer, composer, messages);
  });
  if (!refused.empty()) {
    result.outcome = FleetOutcome::kNotSent;
    result.detail = refused;
    return result;
  }
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
    result.confirmedBy = "ipp";
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
