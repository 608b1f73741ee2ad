#include <exception>
#include <utility>

#include "common/platform_error.h"
#include "printing/pjl.h"
#include "printing/port_question.h"
#include "printing/roads.h"

namespace quorvel::roads {
namespace {

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
      spooler = MakeSpooler(jobName, reply);
    } catch (const std::exception& e) {
      // The socket library itself could not start: nothing was sent.
      messages.Show(std::string(kSendFailed) + "\n" + e.what());
      return PrintOutcome::kSendFailed;
    }
    if (!options_.pjl) {
      if (options_.snmp) {
        watch_.Before(access_, DisplayName(name), options_);
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
      const std::unique_ptr<SnmpSession> session = access_.MakeSnmpSession(
          HostOf(DisplayName(name)), options_.snmp.value_or(SnmpOptions{}), options_.stopped);
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
        AskSnmp(access_, DisplayName(name), options_, status);
      }
    } catch (const PlatformError& e) {
      status.unreachable = e.Reason();  // nothing more is known: the state stays unknown
      status.message = e.Reason();
      status.details.emplace_back("connection", e.Reason());
    }
    return status;
  }

 private:
  // With PJL the job's end is read back on the job's own connection.
  std::unique_ptr<Spooler> MakeSpooler(const std::string& jobName, BackChannel& reply) {
    if (!options_.pjl) {
      return access_.MakePortSpooler();
    }
    BackChannelRead read{
        options_.wait, kPjlReplyCap,
        [jobName](std::string_view bytes) { return FindJobEnd(bytes, jobName).has_value(); },
        options_.stopped};
    return access_.MakeReplyingPortSpooler(std::move(read), reply);
  }

  // INFO ID and INFO STATUS on a connection of their own; the answers become the check's lines,
  // or the step that failed does.
  void AskPjl(const std::string& name, PrinterStatus& status) {
    BackChannelRead read{std::min<std::chrono::milliseconds>(options_.wait, kPjlInfoWait),
                         kPjlReplyCap, [](std::string_view bytes) { return HasInfoAnswers(bytes); },
                         options_.stopped};
    try {
      const BackChannel reply = AskPort(access_, DisplayName(name), PjlInfoQuery(), read);
      if (reply.end == BackChannel::End::kStopped && !HasInfoAnswers(reply.bytes)) {
        status.stopped = true;
        status.details.emplace_back("pjl", "stopped waiting (Ctrl-C) before the printer answered");
        return;
      }
      for (PrinterDetail& detail : PjlInfoDetails(reply)) {
        status.details.push_back(std::move(detail));
      }
    } catch (const std::exception& e) {
      status.details.emplace_back("pjl", e.what());
    }
  }

  static constexpr std::chrono::milliseconds kPjlInfoWait{5000};
  PrinterAccess& access_;
  RoadOptions options_;
  CounterWatch watch_;
  std::optional<DeviceVerdict> confirmation_;
};

}  // namespace

std::unique_ptr<TargetRoad> MakePortRoad(PrinterAccess& access, const RoadOptions& options) {
  return std::make_unique<PortRoad>(access, options);
}

}  // namespace quorvel::roads
