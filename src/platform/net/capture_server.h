#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <list>
#include <memory>
#include <string>

#include "platform/net/capture_file.h"
#include "platform/net/pjl_responder.h"
#include "platform/net/socket.h"

namespace quorvel::net {

/// The virtual printer's settings.
struct CaptureOptions {
  std::string bindAddress = "127.0.0.1";
  std::uint16_t port = kRawPrintPort;  // 0: any free port
  std::filesystem::path directory = ".";
  std::uint64_t maxJobBytes = 64ull << 20;  // a longer job is cut off here
  Milliseconds idleTimeout{30000};          // a connection silent this long ends its job
  std::size_t maxConnections = 16;          // more wait in the listen queue
  /// With a value, each job gets a responder of its own that answers its PJL on the connection.
  std::function<std::unique_ptr<PjlResponder>()> makeResponder;
  /// With a value: false for the bytes of a connection that carry job control only (a PJL
  /// query), which is then saved as pjl-NNNNNN.prn rather than as a job. It is asked of
  /// connections of at most kQueryBytes bytes; longer ones are jobs.
  std::function<bool(std::string_view)> carriesPage;
};

/// The longest connection that may be a query rather than a job.
inline constexpr std::size_t kQueryBytes = 64 * 1024;

/// What a connection brought.
enum class Content {
  kJob,      // page data: saved as job-NNNNNN.prn
  kQuery,    // job control only (PJL INFO, ...): saved as pjl-NNNNNN.prn, no sheet
  kNothing,  // no byte at all: nothing is saved
};

/// How a job ended.
enum class JobEnd {
  kClosed,    // the client closed the connection: the whole job
  kCutOff,    // it went past the size limit; the first maxJobBytes bytes were kept
  kIdle,      // the client sent nothing for the idle timeout
  kReset,     // the connection failed (for example reset by the client)
  kStopped,   // the server was stopped while it was open
  kNotSaved,  // the job file could not be written
};

struct CapturedJob {
  std::chrono::system_clock::time_point ended;
  std::string peer;  // "127.0.0.1:50312"
  std::uint64_t bytes = 0;
  std::filesystem::path file;  // empty when nothing could be saved
  JobEnd end = JobEnd::kClosed;
  std::string reason;  // the system's reason for kReset and kNotSaved
  Content content = Content::kJob;
};

/// An AppSocket (raw port 9100) server: every connection that brings page data is one job,
/// saved byte for byte to the next free job file; a query is saved apart, and a connection that
/// sends nothing leaves no file. A client can only end its own job; nothing it does stops the
/// server.
class CaptureServer {
 public:
  /// Binds and listens at once, so Port() is known; throws PlatformError.
  explicit CaptureServer(CaptureOptions options);
  ~CaptureServer();

  std::uint16_t Port() const { return port_; }

  /// Serves until `stop` is set (checked at least every 200 ms), then ends every open job.
  /// `onJob` hears of every job that has ended.
  void Run(const std::atomic<bool>& stop, const std::function<void(const CapturedJob&)>& onJob);

 private:
  struct Connection;
  void AcceptWaiting();
  void Serve(Connection& connection);
  void End(Connection& connection, JobEnd end, std::string reason = {});
  Content Classify(const Connection& connection) const;

  NetworkLibrary library_;
  CaptureOptions options_;
  Socket listener_;
  std::uint16_t port_ = 0;
  unsigned nextNumber_ = 1;
  std::list<Connection> connections_;
  const std::function<void(const CapturedJob&)>* onJob_ = nullptr;
};

/// The one line printed per job: time, peer, size, file and how it ended.
std::string SummaryLine(const CapturedJob& job, const CaptureOptions& options);

}  // namespace quorvel::net
