#include "platform/command_line/command_line.h"

#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "common/platform_error.h"
#include "platform/net/socket.h"
#include "platform/net/tcp_spooler.h"
#include "platform/platform.h"
#if QUORVEL_HAVE_SNMP
#include "platform/posix/snmp_module_loader.h"
#endif

namespace quorvel::platform {
namespace {

// How long a raw port may take to accept the check's connection.
constexpr net::Milliseconds kPortConnectTimeout{5000};

class SystemAccess : public PrinterAccess {
 public:
  explicit SystemAccess(std::string server = "") : server_(std::move(server)) {}

  std::unique_ptr<PrinterList> MakePrinterList() override {
    return platform::MakePrinterList(server_);
  }
  std::unique_ptr<Spooler> MakeSpooler() override { return platform::MakeSpooler(server_); }
  std::unique_ptr<JobTracker> MakeJobTracker() override {
    return platform::MakeJobTracker(server_);
  }
  SpoolerConnection MakeIppConnection() override {
    IppRoute route = MakeIppRoute();
    return {std::move(route.spooler), std::move(route.tracker)};
  }
  std::unique_ptr<Spooler> MakePortSpooler() override {
    return std::make_unique<net::TcpSpooler>();
  }
  std::unique_ptr<Spooler> MakeReplyingPortSpooler(BackChannelRead read,
                                                   BackChannel& into) override {
    return std::make_unique<net::TcpSpooler>(std::move(read), into);
  }
  std::unique_ptr<SnmpSession> MakeSnmpSession(const std::string& host,
                                               const SnmpOptions& options,
                                               const std::function<bool()>& stopped) override {
#if QUORVEL_HAVE_SNMP
    return OpenSnmpSession(host, options, stopped);
#else
    (void)options;
    (void)stopped;
    throw PlatformError("SNMP " + host, Unavailable(Features(), Feature::kSnmp));
#endif
  }
  std::optional<std::string> PortAddress(const std::string& target) override {
    const std::optional<net::Endpoint> endpoint = net::ParseEndpoint(target, net::kRawPrintPort);
    return endpoint ? std::optional<std::string>(endpoint->Text()) : std::nullopt;
  }
  void ProbePort(const std::string& address) override {
    const net::NetworkLibrary library;
    const std::optional<net::Endpoint> endpoint = net::ParseEndpoint(address, net::kRawPrintPort);
    if (!endpoint) {
      throw PlatformError("connect", "not a host and port: " + address);
    }
    net::Connect(*endpoint, kPortConnectTimeout);
  }

 private:
  const std::string server_;  // HOST:PORT, or empty for the user's own print server
};

}  // namespace

const BuildFeatures& Features() {
  static const BuildFeatures features{QUORVEL_HAVE_RENDER != 0, QUORVEL_HAVE_SCAN != 0,
                                      QUORVEL_HAVE_SNMP != 0, ReachesOtherServers(),
                                      QUORVEL_HAVE_PDF != 0};
  return features;
}

PrinterAccess& SystemPrinters() {
  static SystemAccess access;
  return access;
}

PrinterAccess& ServerPrinters(const std::string& server) {
  static std::mutex mutex;
  static std::map<std::string, std::unique_ptr<SystemAccess>> servers;
  const std::lock_guard<std::mutex> lock(mutex);
  std::unique_ptr<SystemAccess>& access = servers[server];
  if (!access) {
    access = std::make_unique<SystemAccess>(server);
  }
  return *access;
}

}  // namespace quorvel::platform
