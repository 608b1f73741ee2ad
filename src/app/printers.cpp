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

bool SelectPrinter(Printers& printers, std::string deviceName) {
  for (std::string& name : printers.Installed()) {
    if (name == deviceName) {
      printers.SetCurrent(std::move(name));
      return true;
    }
  }
  return false;
}

}  // namespace quorvel
