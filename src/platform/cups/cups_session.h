#pragma once

#include <chrono>
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

  std::unique_ptr<CupsConnection> connection_;
  std::string server_;
  Clock::time_point lastUse_;
  std::optional<Found> found_;
};

}  // namespace quorvel::platform::cups
