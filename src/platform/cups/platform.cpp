#include "platform/platform.h"

#include "platform/cups/cups_printer_list.h"
#include "platform/cups/cups_spooler.h"

namespace quorvel::platform {

std::unique_ptr<PrinterList> MakePrinterList() {
  return std::make_unique<cups::CupsPrinterList>();
}

std::unique_ptr<Spooler> MakeSpooler() {
  return std::make_unique<cups::CupsSpooler>();
}

}  // namespace quorvel::platform
