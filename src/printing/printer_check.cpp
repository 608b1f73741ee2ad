#include "printing/printer_check.h"

namespace quorvel {

CheckVerdict AssessPrinter(const PrinterStatus& status) {
  if (!status.exists) {
    return CheckVerdict::kNoSuchPrinter;
  }
  return NotReadyReasons(status).empty() ? CheckVerdict::kReady : CheckVerdict::kNotReady;
}

std::vector<std::string> NotReadyReasons(const PrinterStatus& status) {
  if (!status.exists) {
    return {"there is no such printer"};
  }
  std::vector<std::string> reasons;
  if (!status.acceptingJobs) {
    reasons.emplace_back("it does not accept jobs");
  }
  if (status.state == PrinterState::kStopped) {
    reasons.emplace_back("it is stopped");
  }
  return reasons;
}

}  // namespace quorvel
