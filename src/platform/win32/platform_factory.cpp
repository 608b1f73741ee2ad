#include "platform/platform.h"

#include "common/platform_error.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/winspool_job_tracker.h"
#include "platform/win32/winspool_printer_list.h"
#include "platform/win32/winspool_spooler.h"

namespace quorvel::platform {

namespace {

// Windows reaches a shared printer by its name \\SERVER\QUEUE instead.
void RefuseNamedServer(const std::string& server) {
  if (!server.empty()) {
    throw PlatformError("Connect to " + server,
                        "print servers are named with --server in the CUPS build only; name a "
                        "shared printer as \\\\SERVER\\QUEUE instead");
  }
}

}  // namespace

std::unique_ptr<PrinterList> MakePrinterList(const std::string& server) {
  RefuseNamedServer(server);
  return std::make_unique<win32::WinspoolPrinterList>();
}

std::unique_ptr<Spooler> MakeSpooler(const std::string& server) {
  RefuseNamedServer(server);
  return std::make_unique<win32::WinspoolSpooler>();
}

std::unique_ptr<JobTracker> MakeJobTracker(const std::string& server) {
  RefuseNamedServer(server);
  return std::make_unique<win32::WinspoolJobTracker>();
}

// The spooler of this computer, by the computer's name.
std::string LocalServerName() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  return ::GetComputerNameA(name, &size) != 0 ? std::string(name, size) : "localhost";
}

bool ReachesOtherServers() {
  return false;
}

// Printing over IPP takes an IPP client of its own; the Windows build has none.
IppRoute MakeIppRoute() {
  throw PlatformError("IPP", "ipp:// printers are reached through the CUPS build only");
}

}  // namespace quorvel::platform
