#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

/// The printers installed for the user, as the platform knows them.
class PrinterList {
 public:
  virtual ~PrinterList() = default;

  /// Reads the list afresh: each printer's device name (the name the spooler opens), in the
  /// platform's order, which stays the same within one run.
  virtual std::vector<std::string> DeviceNames() = 0;

  /// The user's default printer when the program starts, or nothing when there is none.
  virtual std::optional<std::string> DefaultDeviceName() = 0;

  /// Whether one of the installed printers has exactly this device name (same bytes; case
  /// counts, nothing trimmed). Platforms ask the spooler for that one name rather than reading
  /// the whole list; this fallback reads the list.
  virtual bool HasDeviceName(const std::string& deviceName) {
    const std::vector<std::string> names = DeviceNames();
    return std::find(names.begin(), names.end(), deviceName) != names.end();
  }
};

}  // namespace quorvel
