#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/printer_list.h"

namespace quorvel::platform::cups {

/// The CUPS destinations of the user's print server. Instances are listed as "name/instance";
/// the order is libcups's (by name), the same within one run.
class CupsPrinterList : public PrinterList {
 public:
  std::vector<std::string> DeviceNames() override;

  /// The user's default destination as lpstat -d reports it: LPDEST, then PRINTER, then
  /// lpoptions, then the server's default; nothing when there is none or it no longer exists.
  std::optional<std::string> DefaultDeviceName() override;
};

}  // namespace quorvel::platform::cups
