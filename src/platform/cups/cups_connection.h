#pragma once

#include <cups/cups.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace quorvel::platform::cups {

/// How long connecting may take, and how long one adapter call may wait for the server in all
/// (libcups may send several requests for one call); together they keep every call under 15 s.
inline constexpr int kConnectTimeoutMs = 3000;
inline constexpr std::chrono::seconds kCallBudget{8};

struct HttpCloser {
  void operator()(http_t* http) const noexcept { httpClose(http); }
};
using UniqueHttp = std::unique_ptr<http_t, HttpCloser>;

struct IppDeleter {
  void operator()(ipp_t* ipp) const noexcept { ippDelete(ipp); }
};
using UniqueIpp = std::unique_ptr<ipp_t, IppDeleter>;

/// A connection of our own to the user's print server (CUPS_SERVER, client.conf, or the local
/// scheduler), opened with a connect timeout. Each call through it starts with Arm(): from then
/// on a server that accepted but does not answer is given up when the call's budget is spent,
/// however many requests libcups makes for it. Not movable: libcups holds its address.
class CupsConnection {
 public:
  /// Connects to the user's print server; throws PlatformError with the system's reason when it
  /// cannot be reached.
  CupsConnection();
  /// Connects to another IPP server or printer (`encrypt` for ipps://).
  CupsConnection(const std::string& host, int port, bool encrypt);
  CupsConnection(const CupsConnection&) = delete;
  CupsConnection& operator=(const CupsConnection&) = delete;

  http_t* Get() const { return http_.get(); }

  /// Starts a call: it may wait for the server until kCallBudget from now.
  void Arm();

  /// True when the last libcups request failed or the call ran out of time. With
  /// `notFoundIsFailure` false, "not found" from the server counts as an answer ("none here").
  bool LastRequestFailed(bool notFoundIsFailure = true) const;

  /// Sends `request` (taken over) to `resource` as one call of its own and returns the response.
  /// Throws PlatformError naming `operation` when the request fails; with `notFoundIsFailure`
  /// false, "not found" is an answer and the response may then be empty.
  UniqueIpp Send(ipp_t* request, const std::string& resource, const std::string& operation,
                 bool notFoundIsFailure = true);

  /// Throws PlatformError for the last libcups request (or the time-out), naming `operation`.
  /// The connection counts as failed from then on.
  [[noreturn]] void Fail(const std::string& operation) const;

  /// True once a call through this connection has failed: it may be mid-request.
  bool Failed() const { return failed_; }
  /// Marks the connection as failed, for a request left half sent.
  void MarkFailed() { failed_ = true; }

  /// "host:port" as connected to.
  const std::string& ServerText() const { return server_; }

 private:
  static int KeepWaiting(http_t* http, void* self);

  std::string server_;
  UniqueHttp http_;
  std::chrono::steady_clock::time_point deadline_;
  bool timedOut_ = false;
  mutable bool failed_ = false;
};

/// The IPP address of a queue on the connected server: ipp://localhost/printers/<queue>.
std::string QueueUri(const std::string& queue);

/// Asks the server whether a queue (printer or class) of this name exists, on `connection` only.
/// Returns the server's spelling of the name, or nothing when there is no such queue; throws
/// PlatformError when the server cannot be asked.
std::optional<std::string> FindQueue(CupsConnection& connection, const std::string& queue);

}  // namespace quorvel::platform::cups
