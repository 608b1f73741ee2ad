#include "platform/win32/winspool_printer_list.h"

#include <vector>

#include "platform/win32/win32_api.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/winspool_spooler.h"

#include <winspool.h>

namespace quorvel::win32 {

std::vector<std::string> WinspoolPrinterList::DeviceNames() {
  const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  DWORD needed = 0;
  DWORD returned = 0;
  std::vector<BYTE> buffer;
  // The list may grow between the size query and the read: ask again, a bounded number of times.
  for (int attempt = 0; attempt < 4; ++attempt) {
    buffer.resize(needed);
    if (::EnumPrintersA(flags, nullptr, 4, buffer.empty() ? nullptr : buffer.data(),
                        static_cast<DWORD>(buffer.size()), &needed, &returned)) {
      std::vector<std::string> names;
      const auto* info = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
      for (DWORD i = 0; i < returned; ++i) {
        names.emplace_back(info[i].pPrinterName != nullptr ? info[i].pPrinterName : "");
      }
      return names;
    }
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
      ThrowLastError("EnumPrinters");
    }
  }
  ThrowError("EnumPrinters", ERROR_INSUFFICIENT_BUFFER);
}

// No default printer (or none readable) leaves the application without a current printer.
std::optional<std::string> WinspoolPrinterList::DefaultDeviceName() {
  DWORD size = 0;
  if (::GetDefaultPrinterA(nullptr, &size) || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
    return std::nullopt;
  }
  std::string name(size, '\0');
  if (!::GetDefaultPrinterA(name.data(), &size)) {
    return std::nullopt;
  }
  name.resize(name.find('\0') == std::string::npos ? name.size() : name.find('\0'));
  return name;
}

bool WinspoolPrinterList::HasDeviceName(const std::string& deviceName) {
  // An empty name would open the print server itself.
  if (deviceName.empty()) {
    return false;
  }
  UniquePrinter printer;
  if (!OpenNamedPrinter(deviceName, printer)) {
    return false;
  }
  DWORD needed = 0;
  ::GetPrinterA(printer.Get(), 4, nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed);
  if (needed < sizeof(PRINTER_INFO_4A) ||
      !::GetPrinterA(printer.Get(), 4, buffer.data(), needed, &needed)) {
    return false;  // a handle that is no printer's (a server's, a job's)
  }
  const char* name = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data())->pPrinterName;
  return name != nullptr && deviceName == name;
}

}  // namespace quorvel::win32
