#pragma once

#include <string>

#include "printing/target.h"

namespace quorvel::cli {

/// This system's printers: its print server's queues, IPP printers and raw ports. It holds
/// nothing, so every thread may use it.
PrinterAccess& SystemPrinters();

/// The same ways through another print server, HOST:PORT (--server): its queues, with the
/// IPP printers and raw ports as for SystemPrinters. One per server for the whole run.
PrinterAccess& ServerPrinters(const std::string& server);

}  // namespace quorvel::cli
