#include "printing/printer_check.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace quorvel {
namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

// A state reason without its severity ("offline-report" is "offline").
std::string_view Keyword(std::string_view reason) {
  for (const std::string_view suffix : {"-report", "-warning", "-error"}) {
    if (reason.size() > suffix.size() && reason.substr(reason.size() - suffix.size()) == suffix) {
      return reason.substr(0, reason.size() - suffix.size());
    }
  }
  return reason;
}

// The spooler's own word that the printer cannot be reached: a reason such as CUPS's
// "offline-report", Windows' "offline", "not-available" and "server-unknown", or a
// printer-state-message that says so ("The printer may not exist or is unavailable at this
// time.").
bool SaysOffline(const PrinterStatus& status) {
  static constexpr std::array<std::string_view, 5> kOffline = {
      "offline", "printer-offline", "not-available", "server-unknown", "shutdown"};
  for (const std::string& reason : status.reasons) {
    if (std::find(kOffline.begin(), kOffline.end(), Keyword(reason)) != kOffline.end()) {
      return true;
    }
  }
  const std::string message = Lower(status.message);
  for (const std::string_view words : {"offline", "unavailable", "not available", "may not exist",
                                       "not responding", "unable to locate"}) {
    if (message.find(words) != std::string::npos) {
      return true;
    }
  }
  return false;
}

}  // namespace

CheckVerdict AssessPrinter(const PrinterStatus& status) {
  if (!status.exists) {
    return CheckVerdict::kNoSuchPrinter;
  }
  if (status.stopped) {
    return CheckVerdict::kStopped;
  }
  return NotReadyReasons(status).empty() ? CheckVerdict::kReady : CheckVerdict::kNotReady;
}

std::vector<std::string> NotReadyReasons(const PrinterStatus& status) {
  if (!status.exists) {
    return {"there is no such printer"};
  }
  if (!status.unreachable.empty()) {
    return {"it is not reachable: " + status.unreachable};
  }
  if (status.stopped) {
    return {"stopped waiting (Ctrl-C) before the printer answered"};
  }
  std::vector<std::string> reasons;
  if (!status.acceptingJobs) {
    reasons.emplace_back("it does not accept jobs");
  }
  if (status.state == PrinterState::kStopped) {
    reasons.emplace_back("it is stopped");
  }
  if (SaysOffline(status)) {
    reasons.emplace_back(status.message.empty()
                             ? "the spooler reports it offline or unavailable"
                             : "the spooler reports it offline or unavailable (\"" +
                                   status.message + "\")");
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
