#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/cups/cups_connection.h"

namespace quorvel::platform::cups {

/// The one connection to the user's print server that the adapters of a run share, so that a
/// whole print (default, look-up, job, cancel, follow-up) costs one connect. A connection that
/// failed, sat idle for a while or points at a server no longer configured is replaced by a
/// fresh one on the next call.
class CupsSession {
 public:
  /// The session of this thread, made when the first adapter asks and ended with the last.
  static std::shared_ptr<CupsSession> Shared();
  /// The same for another print server, HOST:PORT, given by the user (--server): each thread has
  /// one session per server.
  static std::shared_ptr<CupsSession> SharedFor(const std::string& server);

  CupsSession() = default;
  /// A session with `server` (HOST:PORT) rather than the user's configured one.
  explicit CupsSession(std::string server) : named_(std::move(server)) {}

  /// True for a server the user named: the user's own settings (lpoptions instances, LPDEST and
  /// PRINTER) are about the configured server, not this one.
  bool Named() const { return !named_.empty(); }

  /// The connection for the next call; throws PlatformError when the server cannot be reached.
  CupsConnection& Connection();

  /// FindQueue on this session's connection; an answer of the last two seconds is reused, so the
  /// look-up by SelectPrinter and the spooler's Open cost one request.
  std::optional<std::string> FindQueue(const std::string& queue);

 private:
  using Clock = std::chrono::steady_clock;
  struct Found {
    std::string asked;
    std::optional<std::string> answer;
    Clock::time_point when;
  };

  std::unique_ptr<CupsConnection> Connect() const;

  std::string named_;  // HOST:PORT, or empty for the configured server
  std::unique_ptr<CupsConnection> connection_;
  std::string server_;
  Clock::time_point lastUse_;
  std::optional<Found> found_;
};

}  // namespace quorvel::platform::cups
