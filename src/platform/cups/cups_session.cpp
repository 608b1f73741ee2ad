#include "platform/cups/cups_session.h"

#include "common/platform_error.h"
#include "platform/net/socket.h"

namespace quorvel::platform::cups {
namespace {

// Past this idle time the server may have closed the connection; a new one is cheaper than
// finding out.
constexpr std::chrono::seconds kIdleLimit{20};
constexpr std::chrono::seconds kFoundLifetime{2};
// A print server's port when HOST has none.
constexpr std::uint16_t kIppPort = 631;

std::string ConfiguredServer() {
  const char* server = cupsServer();
  return std::string(server != nullptr ? server : "") + ":" + std::to_string(ippPort());
}

}  // namespace

// One session per thread: a connection serves one request at a time, and libcups keeps its
// settings (server, user, last error) per thread too.
std::shared_ptr<CupsSession> CupsSession::Shared() {
  thread_local std::weak_ptr<CupsSession> shared;
  std::shared_ptr<CupsSession> session = shared.lock();
  if (!session) {
    session = std::make_shared<CupsSession>();
    shared = session;
  }
  return session;
}

std::shared_ptr<CupsSession> CupsSession::SharedFor(const std::string& server) {
  if (server.empty()) {
    return Shared();
  }
  thread_local std::map<std::string, std::weak_ptr<CupsSession>> shared;
  std::shared_ptr<CupsSession> session = shared[server].lock();
  if (!session) {
    session = std::make_shared<CupsSession>(server);
    shared[server] = session;
  }
  return session;
}

std::unique_ptr<CupsConnection> CupsSession::Connect() const {
  if (named_.empty()) {
    return std::make_unique<CupsConnection>();
  }
  const std::optional<net::Endpoint> endpoint = net::ParseEndpoint(named_, kIppPort);
  if (!endpoint) {
    throw PlatformError("Connect to " + named_, "not a print server's HOST[:PORT]");
  }
  return std::make_unique<CupsConnection>(endpoint->host, endpoint->port, false);
}

CupsConnection& CupsSession::Connection() {
  const Clock::time_point now = Clock::now();
  const std::string server = named_.empty() ? ConfiguredServer() : named_;
  if (!connection_ || connection_->Failed() || server != server_ || now - lastUse_ > kIdleLimit) {
    connection_.reset();
    found_.reset();
    connection_ = Connect();
    server_ = server;
  }
  lastUse_ = now;
  return *connection_;
}

std::optional<std::string> CupsSession::FindQueue(const std::string& queue) {
  CupsConnection& connection = Connection();
  if (found_ && found_->asked == queue && Clock::now() - found_->when < kFoundLifetime) {
    return found_->answer;
  }
  std::optional<std::string> answer = cups::FindQueue(connection, queue);
  found_ = Found{queue, answer, Clock::now()};
  return answer;
}

}  // namespace quorvel::platform::cups
