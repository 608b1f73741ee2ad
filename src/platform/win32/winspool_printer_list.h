#pragma once

#include "app/printer_list.h"

namespace quorvel::win32 {

/// The spooler's local and connected printers (EnumPrintersA) and the user's default printer
/// (GetDefaultPrinterA). Reading the default never changes it.
class WinspoolPrinterList : public PrinterList {
 public:
  std::vector<std::string> DeviceNames() override;
  std::optional<std::string> DefaultDeviceName() override;
};

}  // namespace quorvel::win32
