#include "app/printers.h"

namespace quorvel {

// Counts and indexes are size_t: a print server with tens of thousands of queues is listed like
// any other. The platform list is read once per call, never once per index.
void GetPrinters(Printers& printers, ComboBox& combo) {
  for (const std::string& name : printers.Installed()) {
    combo.Append(name);
  }
  const std::size_t entries = combo.Count();
  for (std::size_t i = 0; i < entries; ++i) {
    const std::optional<std::string>& current = printers.Current();
    if (current && *current == combo.TextAt(i)) {
      combo.Select(i);
      return;
    }
  }
}

// The one name is looked up directly: the answer is the same as comparing it with every entry
// of the list, without reading thousands of entries for one print.
bool SelectPrinter(Printers& printers, std::string deviceName) {
  if (!printers.IsInstalled(deviceName)) {
    return false;
  }
  printers.SetCurrent(std::move(deviceName));
  return true;
}

}  // namespace quorvel
