#include <exception>
#include <thread>
#include <utility>

#include "printing/roads.h"

namespace quorvel::roads {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

milliseconds SleepingPacer::Elapsed() {
  return std::chrono::duration_cast<milliseconds>(Clock::now() - start_);
}

bool SleepingPacer::Pause(milliseconds duration) {
  std::this_thread::sleep_for(duration);
  return true;
}

std::unique_ptr<Pacer> MakePacer(const RoadOptions& options) {
  return options.makePacer ? options.makePacer() : std::make_unique<SleepingPacer>();
}

void CounterWatch::Before(PrinterAccess& access, const std::string& target,
                          const RoadOptions& options) {
  session_.reset();
  before_.reset();
  failure_.clear();
  try {
    session_ = access.MakeSnmpSession(HostOf(target), options.snmp.value_or(SnmpOptions{}),
                                      options.stopped);
    before_ = ReadDeviceState(*session_).pageCounter;
    if (!before_) {
      failure_ = "the printer's agent gives no page counter (prtMarkerLifeCount)";
    }
  } catch (const std::exception& e) {
    failure_ = e.what();
  }
}

DeviceVerdict CounterWatch::After(const RoadOptions& options) {
  if (!before_) {
    return {JobVerdict::kNotConfirmed, "snmp", "the page counter could not be read: " + failure_};
  }
  return FollowPageCounter(*session_, *before_, options.wait, *MakePacer(options));
}

void AskSnmp(PrinterAccess& access, const std::string& target, const RoadOptions& options,
             PrinterStatus& status) {
  try {
    const std::unique_ptr<SnmpSession> session = access.MakeSnmpSession(
        HostOf(target), options.snmp.value_or(SnmpOptions{}), options.stopped);
    const DeviceState state = ReadDeviceState(*session);
    for (PrinterDetail& detail : DeviceStateDetails(state)) {
      status.details.push_back(std::move(detail));
    }
    status.deviceProblems = DeviceProblems(state);
    status.deviceId = state.deviceId;
  } catch (const std::exception& e) {
    if (options.stopped && options.stopped()) {
      status.stopped = true;
      status.details.emplace_back("snmp", "stopped waiting (Ctrl-C) before the agent answered");
      return;
    }
    status.details.emplace_back("snmp", e.what());
  }
}

}  // namespace quorvel::roads
