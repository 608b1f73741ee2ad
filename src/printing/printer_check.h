#pragma once

#include <string>
#include <vector>

#include "printing/job_tracker.h"

namespace quorvel {

/// kStopped: the user stopped waiting (Ctrl-C) for the printer's own answer.
enum class CheckVerdict { kReady, kNotReady, kNoSuchPrinter, kStopped };

/// Whether a raw test job sent now would reach the printer: it exists, can be reached, takes
/// jobs, is not stopped, and neither its spooler (state reasons or message) nor the printer
/// itself says it is offline, unavailable or has a problem.
CheckVerdict AssessPrinter(const PrinterStatus& status);

/// Why AssessPrinter did not say ready, one sentence each (for kStopped, that the user stopped);
/// empty when it did.
std::vector<std::string> NotReadyReasons(const PrinterStatus& status);

/// What the user reads of each raw risk the check found, one note each.
std::vector<std::string> RiskNotes(const PrinterStatus& status);

}  // namespace quorvel
