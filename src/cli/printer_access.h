#pragma once

#include "printing/target.h"

namespace quorvel::cli {

/// This system's printers: its print server's queues, IPP printers and raw ports. It holds
/// nothing, so every thread may use it.
PrinterAccess& SystemPrinters();

}  // namespace quorvel::cli
