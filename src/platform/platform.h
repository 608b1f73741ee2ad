#pragma once

#include <memory>

#include "app/printer_list.h"
#include "printing/job_tracker.h"
#include "printing/spooler.h"

namespace quorvel::platform {

/// The installed printers of the platform being built (CUPS destinations, Windows printers).
std::unique_ptr<PrinterList> MakePrinterList();

/// The platform's spooler, set up to pass raw bytes to the printer unchanged.
std::unique_ptr<Spooler> MakeSpooler();

/// Follows the jobs of the platform's spooler and tells how its printers stand, on the
/// spooler's own connection where it has one.
std::unique_ptr<JobTracker> MakeJobTracker();

/// A spooler and a tracker for printers addressed by an ipp:// or ipps:// URI, sharing one
/// connection. Throws PlatformError where the build cannot speak IPP itself.
struct IppRoute {
  std::unique_ptr<Spooler> spooler;
  std::unique_ptr<JobTracker> tracker;
};
IppRoute MakeIppRoute();

}  // namespace quorvel::platform
