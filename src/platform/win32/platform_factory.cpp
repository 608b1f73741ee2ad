#include "platform/platform.h"

#include "common/platform_error.h"
#include "platform/win32/winspool_job_tracker.h"
#include "platform/win32/winspool_printer_list.h"
#include "platform/win32/winspool_spooler.h"

namespace quorvel::platform {

std::unique_ptr<PrinterList> MakePrinterList() {
  return std::make_unique<win32::WinspoolPrinterList>();
}

std::unique_ptr<Spooler> MakeSpooler() {
  return std::make_unique<win32::WinspoolSpooler>();
}

std::unique_ptr<JobTracker> MakeJobTracker() {
  return std::make_unique<win32::WinspoolJobTracker>();
}

// Printing over IPP takes an IPP client of its own; the Windows build has none.
IppRoute MakeIppRoute() {
  throw PlatformError("IPP", "ipp:// printers are reached through the CUPS build only");
}

}  // namespace quorvel::platform
