#include "printing/fleet_report.h"

#include <cstdio>

#include "common/json_text.h"

namespace quorvel {
namespace {

double InSeconds(std::chrono::milliseconds elapsed) {
  return static_cast<double>(elapsed.count()) / 1000.0;
}

// Seconds to the hundredth, as the JSON writer writes them too.
std::string Seconds(std::chrono::milliseconds elapsed) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", InSeconds(elapsed));
  return text;
}

// PJL and SNMP verdicts come from the printer itself; the text report names them.
bool IsDeviceSource(const std::string& source) {
  return source == "pjl" || source == "snmp";
}

}  // namespace

std::string FleetLine(const PrinterResult& result) {
  std::string line = result.printer + ": " + OutcomeName(result.outcome);
  if (IsDeviceSource(result.confirmedBy)) {
    line += " (" + result.confirmedBy + ")";  // the printer's own word, not a spooler's
  }
  if (result.jobId != 0) {
    line += ", job " + std::to_string(result.jobId);
  }
  line += ", " + Seconds(result.elapsed) + " s";
  if (!result.detail.empty()) {
    line += ": " + result.detail;
  }
  return line;
}

std::string FleetSummaryLine(const FleetSummary& summary, std::chrono::milliseconds elapsed) {
  std::string line = std::to_string(summary.total) +
                     (summary.total == 1 ? " printer in " : " printers in ") + Seconds(elapsed) +
                     " s";
  const char* separator = ": ";
  for (std::size_t i = 0; i < kFleetOutcomeCount; ++i) {
    if (summary.counts[i] != 0) {
      line += separator + std::to_string(summary.counts[i]) + " " +
              OutcomeName(static_cast<FleetOutcome>(i));
      separator = ", ";
    }
  }
  separator = "; confirmed by the printers: ";
  for (const auto& [source, count] : summary.confirmedBy) {
    if (IsDeviceSource(source)) {
      line += separator + std::to_string(count) + " " + source;
      separator = ", ";
    }
  }
  return line;
}

std::string FleetJsonItem(const PrinterResult& result) {
  json::Value item;
  item["printer"] = result.printer;
  item["outcome"] = OutcomeName(result.outcome);
  item["job"] = result.jobId != 0 ? json::Value(result.jobId) : json::Value(nullptr);
  item["seconds"] = InSeconds(result.elapsed);
  item["detail"] = result.detail;
  item["confirmed_by"] =
      result.confirmedBy.empty() ? json::Value(nullptr) : json::Value(result.confirmedBy);
  return json::Write(item, json::kSpaced);
}

std::string FleetSummaryJson(const FleetSummary& summary, std::chrono::milliseconds elapsed) {
  json::Value counts;
  counts["printers"] = summary.total;
  counts["seconds"] = InSeconds(elapsed);
  for (std::size_t i = 0; i < kFleetOutcomeCount; ++i) {
    counts[OutcomeName(static_cast<FleetOutcome>(i))] = summary.counts[i];
  }
  json::Value sources = json::Value::object();
  for (const auto& [source, count] : summary.confirmedBy) {
    sources[source] = count;
  }
  counts["confirmed_by"] = sources;
  return json::Write(counts, json::kSpaced);
}

}  // namespace quorvel
