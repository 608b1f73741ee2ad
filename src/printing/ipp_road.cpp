#include "printing/roads.h"

namespace quorvel::roads {
namespace {

// IPP printers: each send on a connection of its own, which then follows that job.
class IppRoad : public TargetRoad {
 public:
  IppRoad(PrinterAccess& access, const RoadOptions& options) : access_(access), options_(options) {}

  PrintOutcome Send(const std::string& name, PageComposer composer,
                    MessageDisplay& messages) override {
    confirmation_.reset();
    if (options_.snmp) {
      watch_.Before(access_, name, options_);
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
      AskSnmp(access_, name, options_, status);
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

}  // namespace

std::unique_ptr<TargetRoad> MakeIppRoad(PrinterAccess& access, const RoadOptions& options) {
  return std::make_unique<IppRoad>(access, options);
}

}  // namespace quorvel::roads
