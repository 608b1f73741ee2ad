#pragma once

#include <string>

#include "printing/job_tracker.h"
#include "printing/printer_check.h"

namespace quorvel {

/// What check prints about one printer, as lines of text or as one JSON object.
std::string FormatCheckText(const std::string& printer, const PrinterStatus& status);
std::string FormatCheckJson(const std::string& printer, const PrinterStatus& status);

}  // namespace quorvel
