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
  for (const std::string& problem : status.deviceProblems) {
    reasons.push_back("the printer reports " + problem);
  }
  return reasons;
}

namespace {

std::string RiskNote(const RawRiskFound& found) {
  switch (found.risk) {
    case RawRisk::kDriverQueue:
      return "a driver queue: its filters may change the bytes of any job "
             "not sent as raw (quorvel sends application/vnd.cups-raw)";
    case RawRisk::kRemoteQueue:
      return "a remote queue: the job goes on to another print server";
    case RawRisk::kNoRawFormat:
      return "the printer lists no raw format (application/octet-stream)";
    case RawRisk::kXpsDriver:
      return "a v4/XPS driver: the job goes as XPS_PASS";
    case RawRisk::kV4Driver:
      return "a v4 driver: raw jobs may not reach the printer unchanged";
    case RawRisk::kPrintProcessor:
      break;
  }
  return "print processor " + found.subject + ": it may not pass RAW jobs unchanged";
}

}  // namespace

std::vector<std::string> RiskNotes(const PrinterStatus& status) {
  std::vector<std::string> notes;
  for (const RawRiskFound& found : status.risks) {
    notes.push_back(RiskNote(found));
  }
  return notes;
}

}  // namespace quorvel
