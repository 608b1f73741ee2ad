#pragma once

// The roads of each kind of target, and what the IPP and raw-port roads share: the printer's
// page counter and status over SNMP. Only MakeRoad uses these.

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "printing/target.h"

namespace quorvel::roads {

/// Real time, for a road whose user gave no pacer.
class SleepingPacer : public Pacer {
 public:
  std::chrono::milliseconds Elapsed() override;
  bool Pause(std::chrono::milliseconds duration) override;

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

/// The options' pacer, or real time.
std::unique_ptr<Pacer> MakePacer(const RoadOptions& options);

/// The printer's page counter over SNMP: read before the job is sent and followed after it.
class CounterWatch {
 public:
  void Before(PrinterAccess& access, const std::string& target, const RoadOptions& options);
  DeviceVerdict After(const RoadOptions& options);

 private:
  std::unique_ptr<SnmpSession> session_;
  std::optional<long long> before_;
  std::string failure_;
};

/// A check's SNMP lines: the agent's status, errors and alerts, or why it could not be asked;
/// `status` is marked stopped when the user stopped waiting for the agent.
void AskSnmp(PrinterAccess& access, const std::string& target, const RoadOptions& options,
             PrinterStatus& status);

std::unique_ptr<TargetRoad> MakeQueueRoad(PrinterAccess& access);
std::unique_ptr<TargetRoad> MakeIppRoad(PrinterAccess& access, const RoadOptions& options);
std::unique_ptr<TargetRoad> MakePortRoad(PrinterAccess& access, const RoadOptions& options);

}  // namespace quorvel::roads
