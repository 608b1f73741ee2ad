#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/printer_list.h"
#include "platform/cups/cups_session.h"

namespace quorvel::platform::cups {

/// The CUPS destinations of the user's print server. Instances are listed as "name/instance";
/// the order is libcups's (by name), the same within one run.
class CupsPrinterList : public PrinterList {
 public:
  explicit CupsPrinterList(std::shared_ptr<CupsSession> session = CupsSession::Shared())
      : session_(std::move(session)) {}

  std::vector<std::string> DeviceNames() override;

  /// The user's default destination as lpstat -d reports it: LPDEST, then PRINTER, then
  /// lpoptions, then the server's default; nothing when there is none or it no longer exists.
  std::optional<std::string> DefaultDeviceName() override;

  /// Asks the server for the one queue and compares its spelling of the name; an instance
  /// ("name/instance") must also be defined in the lpoptions files, spelt as listed.
  bool HasDeviceName(const std::string& deviceName) override;

 private:
  std::shared_ptr<CupsSession> session_;
};

}  // namespace quorvel::platform::cups
