#include "platform/platform.h"
#include "platform/win32/winspool_printer_list.h"
#include "platform/win32/winspool_spooler.h"

namespace quorvel::platform {

std::unique_ptr<PrinterList> MakePrinterList() {
  return std::make_unique<win32::WinspoolPrinterList>();
}

std::unique_ptr<Spooler> MakeSpooler() {
  return std::make_unique<win32::WinspoolSpooler>();
}

}  // namespace quorvel::platform
