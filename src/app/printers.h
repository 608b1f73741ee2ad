#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/combo_box.h"
#include "app/printer_list.h"

namespace quorvel {

/// The installed printers and the application's own current printer. The current printer starts
/// as the user's default and changes only through SelectPrinter; the system's default is never
/// touched.
class Printers {
 public:
  explicit Printers(PrinterList& list) : list_(list), current_(list.DefaultDeviceName()) {}

  /// Device names of the installed printers, read afresh from the platform.
  std::vector<std::string> Installed() { return list_.DeviceNames(); }

  /// Whether an installed printer has exactly this device name, asked of the platform directly.
  bool IsInstalled(const std::string& deviceName) { return list_.HasDeviceName(deviceName); }

  /// The current printer's device name; nothing when there is none.
  const std::optional<std::string>& Current() const { return current_; }

  void SetCurrent(std::optional<std::string> deviceName) { current_ = std::move(deviceName); }

 private:
  PrinterList& list_;
  std::optional<std::string> current_;
};

/// Fills `combo` with the installed printers' device names in list order and selects the entry
/// that equals the current printer's name exactly (the first, when several do).
void GetPrinters(Printers& printers, ComboBox& combo);

/// Makes the installed printer whose device name equals `deviceName` exactly (same bytes, case
/// counts, nothing trimmed) the current printer. Returns false, changing nothing, when none does.
bool SelectPrinter(Printers& printers, std::string deviceName);

/// The installed names nearest to a name that was not recognized, nearest first (fewest letters
/// inserted, deleted or changed, case ignored; list order among equals), at most `most` of them.
std::vector<std::string> ClosestNames(const std::string& typed,
                                      const std::vector<std::string>& installed,
                                      std::size_t most = 3);

}  // namespace quorvel
