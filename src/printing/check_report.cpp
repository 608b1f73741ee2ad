#include "printing/check_report.h"

#include <utility>
#include <vector>

#include "common/json_text.h"
#include "common/text.h"

namespace quorvel {
namespace {

const char* VerdictWord(CheckVerdict verdict) {
  switch (verdict) {
    case CheckVerdict::kReady:
      return "ready";
    case CheckVerdict::kNotReady:
      return "not ready";
    case CheckVerdict::kStopped:
      return "not checked";
    case CheckVerdict::kNoSuchPrinter:
      break;
  }
  return "no such printer";
}

}  // namespace

std::string FormatCheckText(const std::string& printer, const PrinterStatus& status) {
  const CheckVerdict verdict = AssessPrinter(status);
  std::string text = printer + ": " + VerdictWord(verdict);
  if (verdict == CheckVerdict::kNoSuchPrinter) {
    return text + "\n";
  }
  const std::vector<std::string> why = NotReadyReasons(status);
  text += why.empty() ? "\n" : " (" + quorvel::text::Join(why, "; ") + ")\n";
  text += std::string("state: ") + StateName(status.state);
  text += status.message.empty() ? "" : ", \"" + status.message + "\"";
  text += status.reasons.empty() ? "\n" : " (" + quorvel::text::Join(status.reasons, ", ") + ")\n";
  if (status.unreachable.empty()) {  // else the printer said nothing of either
    text += std::string("accepting jobs: ") + (status.acceptingJobs ? "yes" : "no") + "\n";
    text += "jobs waiting: " + std::to_string(status.jobsAhead) + "\n";
  }
  for (const PrinterDetail& detail : status.details) {
    text += detail.first + ": " + detail.second + "\n";
  }
  for (const std::string& warning : RiskNotes(status)) {
    text += "note: " + warning + "\n";
  }
  return text;
}

std::string FormatCheckJson(const std::string& printer, const PrinterStatus& status) {
  json::Value details = json::Value::object();
  for (const PrinterDetail& detail : status.details) {
    details[json::KeyOf(detail.first)] = detail.second;
  }
  json::Value report;
  json::PutName(report, "printer", printer);
  report["verdict"] = VerdictWord(AssessPrinter(status));
  report["exists"] = status.exists;
  report["notReady"] = NotReadyReasons(status);
  report["state"] = StateName(status.state);
  report["reasons"] = status.reasons;
  report["message"] = status.message;
  report["reachable"] = status.unreachable.empty();
  report["acceptingJobs"] =
      status.unreachable.empty() ? json::Value(status.acceptingJobs) : json::Value(nullptr);
  report["jobsWaiting"] =
      status.unreachable.empty() ? json::Value(status.jobsAhead) : json::Value(nullptr);
  report["details"] = std::move(details);
  report["notes"] = RiskNotes(status);
  return json::Write(report, json::kSpaced) + "\n";
}

}  // namespace quorvel
