#pragma once

#include <memory>
#include <string>

#include "app/printer_list.h"
#include "printing/job_tracker.h"
#include "printing/spooler.h"

namespace quorvel::platform {

// `server` below is a print server the user named, HOST:PORT; empty for the user's own. Only the
// CUPS build reaches other servers: elsewhere a named one throws PlatformError.

/// The installed printers of the platform being built (CUPS destinations, Windows printers).
std::unique_ptr<PrinterList> MakePrinterList(const std::string& server = "");

/// The platform's spooler, set up to pass raw bytes to the printer unchanged.
std::unique_ptr<Spooler> MakeSpooler(const std::string& server = "");

/// Follows the jobs of the platform's spooler and tells how its printers stand, on the
/// spooler's own connection where it has one.
std::unique_ptr<JobTracker> MakeJobTracker(const std::string& server = "");

/// The user's own print server as reports name it: "localhost" for the local scheduler, else
/// HOST:PORT (CUPS) or the computer's name (Windows).
std::string LocalServerName();

/// Whether the build can reach print servers other than the user's own.
bool ReachesOtherServers();

/// A spooler and a tracker for printers addressed by an ipp:// or ipps:// URI, sharing one
/// connection. Throws PlatformError where the build cannot speak IPP itself.
struct IppRoute {
  std::unique_ptr<Spooler> spooler;
  std::unique_ptr<JobTracker> tracker;
};
IppRoute MakeIppRoute();

}  // namespace quorvel::platform
