#include "platform/platform.h"

#include <cups/cups.h>

#include "platform/cups/cups_job_tracker.h"
#include "platform/cups/cups_printer_list.h"
#include "platform/cups/cups_spooler.h"
#include "platform/cups/ipp_direct.h"

namespace quorvel::platform {

std::unique_ptr<PrinterList> MakePrinterList(const std::string& server) {
  return std::make_unique<cups::CupsPrinterList>(cups::CupsSession::SharedFor(server));
}

std::unique_ptr<Spooler> MakeSpooler(const std::string& server) {
  return std::make_unique<cups::CupsSpooler>(cups::CupsSession::SharedFor(server));
}

std::unique_ptr<JobTracker> MakeJobTracker(const std::string& server) {
  return std::make_unique<cups::CupsJobTracker>(cups::CupsSession::SharedFor(server));
}

// A scheduler on this machine (its socket, localhost) is "localhost"; a remote one HOST:PORT.
std::string LocalServerName() {
  const std::string server = cupsServer() != nullptr ? cupsServer() : "";
  if (server.empty() || server.front() == '/' || server == "localhost") {
    return "localhost";
  }
  return server.find(':') != std::string::npos ? server : server + ":" + std::to_string(ippPort());
}

bool ReachesOtherServers() {
  return true;
}

IppRoute MakeIppRoute() {
  auto session = std::make_shared<cups::IppSession>();
  return {std::make_unique<cups::IppSpooler>(session),
          std::make_unique<cups::IppJobTracker>(session)};
}

}  // namespace quorvel::platform
