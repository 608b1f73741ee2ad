#include "platform/platform.h"

#include "platform/cups/cups_job_tracker.h"
#include "platform/cups/cups_printer_list.h"
#include "platform/cups/cups_spooler.h"
#include "platform/cups/ipp_direct.h"

namespace quorvel::platform {

std::unique_ptr<PrinterList> MakePrinterList() {
  return std::make_unique<cups::CupsPrinterList>();
}

std::unique_ptr<Spooler> MakeSpooler() {
  return std::make_unique<cups::CupsSpooler>();
}

std::unique_ptr<JobTracker> MakeJobTracker() {
  return std::make_unique<cups::CupsJobTracker>();
}

IppRoute MakeIppRoute() {
  auto session = std::make_shared<cups::IppSession>();
  return {std::make_unique<cups::IppSpooler>(session),
          std::make_unique<cups::IppJobTracker>(session)};
}

}  // namespace quorvel::platform
