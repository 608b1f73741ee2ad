#pragma once

#include <memory>

#include "app/printer_list.h"
#include "printing/spooler.h"

namespace quorvel::platform {

/// The installed printers of the platform being built (CUPS destinations, Windows printers).
std::unique_ptr<PrinterList> MakePrinterList();

/// The platform's spooler, set up to pass raw bytes to the printer unchanged.
std::unique_ptr<Spooler> MakeSpooler();

}  // namespace quorvel::platform
