#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvel::platform::cups {

/// A destination named on a "Dest" or "Default" line of an lpoptions file.
struct LpoptionsDest {
  std::string name;
  std::string instance;  // empty for the queue itself
  bool isDefault = false;
};

/// The lines of the system's lpoptions (CUPS_SERVERROOT or /etc/cups) and then of the user's
/// (~/.cups/lpoptions, or the older ~/.lpoptions), in that order, so later lines win.
std::vector<LpoptionsDest> ReadLpoptions();

/// The user's choice of default printer in lpstat -d's order: LPDEST, PRINTER (except the
/// placeholder "lp"), the last "Default" line of the lpoptions files; nothing when none is set.
std::optional<std::string> UserDefault();

}  // namespace quorvel::platform::cups
