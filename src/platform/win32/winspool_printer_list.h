#pragma once

#include "app/printer_list.h"

namespace quorvel::win32 {

/// The spooler's local and connected printers (EnumPrintersA) and the user's default printer
/// (GetDefaultPrinterA). Reading the default never changes it.
class WinspoolPrinterList : public PrinterList {
 public:
  std::vector<std::string> DeviceNames() override;
  std::optional<std::string> DefaultDeviceName() override;

  /// Opens the printer by the name and compares the spooler's name for it (PRINTER_INFO_4)
  /// exactly: OpenPrinterA itself takes names in any case, and "name,Job 5" for a job.
  bool HasDeviceName(const std::string& deviceName) override;
};

}  // namespace quorvel::win32
