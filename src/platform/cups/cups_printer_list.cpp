#include "platform/cups/cups_printer_list.h"

#include "platform/cups/cups_connection.h"

namespace quorvel::platform::cups {
namespace {

// "Not found" means "none here", not a failure: a server without queues answers CUPS-Get-Printers
// that way, and so does the request for a default that does not exist.
bool Failed(const CupsConnection& connection) {
  return connection.LastRequestFailed(false);
}

}  // namespace

std::vector<std::string> CupsPrinterList::DeviceNames() {
  const CupsConnection connection;
  cups_dest_t* dests = nullptr;
  const int count = cupsGetDests2(connection.Get(), &dests);
  const DestList list(count, dests);
  if (list.Count() == 0 && Failed(connection)) {
    connection.Fail("CUPS-Get-Printers");
  }
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(list.Count()));
  for (int i = 0; i < list.Count(); ++i) {
    names.push_back(DeviceNameOf(list.At(i)));
  }
  return names;
}

std::optional<std::string> CupsPrinterList::DefaultDeviceName() {
  const CupsConnection connection;
  // cupsGetNamedDest with no name follows lpstat -d; cupsGetDefault2 would skip lpoptions.
  const DestList dest(1, cupsGetNamedDest(connection.Get(), nullptr, nullptr));
  if (dest.Count() == 0) {
    if (Failed(connection)) {
      connection.Fail("Get-Printer-Attributes");
    }
    return std::nullopt;
  }
  return DeviceNameOf(dest.At(0));
}

}  // namespace quorvel::platform::cups
