#include "printing/fleet_report.h"

#include <cstdio>

namespace quorvel {
namespace {

std::string Seconds(std::chrono::milliseconds elapsed) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(elapsed.count()) / 1000.0);
  return text;
}

}  // namespace

std::string JsonQuoted(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string FleetLine(const PrinterResult& result) {
  std::string line = result.printer + ": " + OutcomeName(result.outcome);
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
  return line;
}

std::string FleetJsonItem(const PrinterResult& result) {
  return "{\"printer\": " + JsonQuoted(result.printer) +
         ", \"outcome\": " + JsonQuoted(OutcomeName(result.outcome)) +
         ", \"job\": " + (result.jobId != 0 ? std::to_string(result.jobId) : "null") +
         ", \"seconds\": " + Seconds(result.elapsed) +
         ", \"detail\": " + JsonQuoted(result.detail) + "}";
}

std::string FleetSummaryJson(const FleetSummary& summary, std::chrono::milliseconds elapsed) {
  std::string json =
      "{\"printers\": " + std::to_string(summary.total) + ", \"seconds\": " + Seconds(elapsed);
  for (std::size_t i = 0; i < kFleetOutcomeCount; ++i) {
    json += ", " + JsonQuoted(OutcomeName(static_cast<FleetOutcome>(i))) + ": " +
            std::to_string(summary.counts[i]);
  }
  return json + "}";
}

}  // namespace quorvel
