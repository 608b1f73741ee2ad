#pragma once

#include <chrono>
#include <string>

#include "printing/fleet.h"

namespace quorvel {

/// A printer's line as it finishes: "NAME: OUTCOME[, job ID], S.SS s[: DETAIL]".
std::string FleetLine(const PrinterResult& result);

/// The closing line: "N printers in S.SS s: COUNT OUTCOME, ..." with the outcomes met, successes
/// first.
std::string FleetSummaryLine(const FleetSummary& summary, std::chrono::milliseconds elapsed);

/// A printer as a JSON object: {"printer", "outcome", "job" (null without one), "seconds",
/// "detail"}, written by the one JSON writer (common/json_text.h) like the rest of the report.
std::string FleetJsonItem(const PrinterResult& result);

/// The summary as a JSON object: "printers", "seconds", and a count for every outcome.
std::string FleetSummaryJson(const FleetSummary& summary, std::chrono::milliseconds elapsed);

}  // namespace quorvel
