#pragma once

#include <cstdint>
#include <string>

#include "printing/job_tracker.h"

namespace quorvel::win32 {

/// A job's status as JOB_INFO_1 gives it (the JOB_STATUS_* bits and the port monitor's text)
/// in the core's terms. Printed or complete is completed; paused is held; deleted or deleting is
/// canceled; blocked (the driver cannot print it) is aborted; an error, offline, paper out or
/// user intervention keeps it processing, with the reasons, until the printer recovers.
JobStatus JobStatusFromBits(std::uint32_t status, const std::string& text);

/// A printer's status from PRINTER_INFO_2 (the PRINTER_STATUS_* bits and the attributes): paused,
/// pending deletion, error, offline, not available or set to work offline is stopped; printing,
/// processing or busy is processing; otherwise idle. Adds the bits' names as reasons.
void ApplyPrinterBits(std::uint32_t status, std::uint32_t attributes, PrinterStatus& printer);

}  // namespace quorvel::win32
