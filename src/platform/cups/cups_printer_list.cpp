#include "platform/cups/cups_printer_list.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/cups/cups_connection.h"

namespace quorvel::platform::cups {
namespace {

// The name on the last "Default name[/instance] ..." line of an lpoptions file, if any.
std::optional<std::string> LpoptionsDefault(const std::string& path) {
  std::ifstream file(path);
  std::optional<std::string> name;
  for (std::string line; std::getline(file, line);) {
    std::istringstream words(line);
    std::string keyword;
    std::string value;
    if (words >> keyword >> value && keyword == "Default") {
      name = value;
    }
  }
  return name;
}

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// The user's choice of default, in lpstat -d's order: LPDEST, PRINTER (except the placeholder
// "lp"), the user's lpoptions, the system's lpoptions.
std::optional<std::string> UserDefault() {
  if (std::getenv("LPDEST") != nullptr) {
    return Env("LPDEST");
  }
  if (std::getenv("PRINTER") != nullptr && Env("PRINTER") != "lp") {
    return Env("PRINTER");
  }
  if (std::getenv("HOME") != nullptr) {
    std::optional<std::string> name = LpoptionsDefault(Env("HOME") + "/.cups/lpoptions");
    if (!name) {
      name = LpoptionsDefault(Env("HOME") + "/.lpoptions");
    }
    if (name) {
      return name;
    }
  }
  const std::string serverRoot =
      std::getenv("CUPS_SERVERROOT") != nullptr ? Env("CUPS_SERVERROOT") : "/etc/cups";
  return LpoptionsDefault(serverRoot + "/lpoptions");
}

}  // namespace

std::vector<std::string> CupsPrinterList::DeviceNames() {
  CupsConnection connection;
  cups_dest_t* dests = nullptr;
  const int count = cupsGetDests2(connection.Get(), &dests);
  const DestList list(count, dests);
  // "Not found" is how a server without queues answers.
  if (list.Count() == 0 && connection.LastRequestFailed(false)) {
    connection.Fail("CUPS-Get-Printers");
  }
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(list.Count()));
  for (int i = 0; i < list.Count(); ++i) {
    names.push_back(DeviceNameOf(list.At(i)));
  }
  return names;
}

// Worked out here rather than by cupsGetNamedDest: when its look-up fails, that function goes on
// through a connection of libcups's own that may wait a minute per request. A default naming a
// queue that does not exist (any more) means no default, as for lpstat -d.
std::optional<std::string> CupsPrinterList::DefaultDeviceName() {
  CupsConnection connection;
  std::optional<std::string> name = UserDefault();
  if (!name) {
    connection.Arm();
    const char* serverDefault = cupsGetDefault2(connection.Get());
    if (serverDefault == nullptr) {
      if (connection.LastRequestFailed(false)) {
        connection.Fail("CUPS-Get-Default");
      }
      return std::nullopt;
    }
    name = serverDefault;
  }
  const std::size_t slash = name->find('/');
  const std::optional<std::string> queue = FindQueue(connection, name->substr(0, slash));
  if (!queue) {
    return std::nullopt;
  }
  return slash == std::string::npos ? *queue : *queue + name->substr(slash);
}

}  // namespace quorvel::platform::cups
