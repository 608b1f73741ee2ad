#include "platform/net/capture_server.h"

#include <algorithm>
#include <array>
#include <optional>

#include "common/platform_error.h"

namespace quorvel::net {
namespace {

using Clock = std::chrono::steady_clock;
constexpr Milliseconds kStopCheck{200};
constexpr Milliseconds kAnswerStall{5000};  // a client that reads none of the answer for this long

}  // namespace

struct CaptureServer::Connection {
  Socket socket;
  std::string peer;
  std::optional<CaptureFile> file;
  std::uint64_t bytes = 0;
  Clock::time_point lastHeard = Clock::now();
  bool ended = false;
  std::unique_ptr<PjlResponder> responder;
  bool inputEnded = false;  // the client has finished sending; the responder holds it open
  std::string head;         // the first kQueryBytes bytes, to tell a query from a job
};

CaptureServer::CaptureServer(CaptureOptions options) : options_(std::move(options)) {
  listener_ = Listen(options_.bindAddress, options_.port);
  port_ = LocalPort(listener_);
  nextNumber_ = NextJobNumber(options_.directory);
}

CaptureServer::~CaptureServer() = default;

void CaptureServer::Run(const std::atomic<bool>& stop,
                        const std::function<void(const CapturedJob&)>& onJob) {
  onJob_ = &onJob;
  while (!stop.load()) {
    std::vector<Waiter> waiters;
    Milliseconds wait = kStopCheck;
    const bool room = connections_.size() < options_.maxConnections;
    if (room) {
      waiters.push_back({listener_.Handle(), true, false, false});
    }
    for (const Connection& connection : connections_) {
      if (connection.inputEnded) {
        continue;  // nothing more to read; its idle time still counts
      }
      waiters.push_back({connection.socket.Handle(), true, false, false});
      const auto idleLeft = std::chrono::duration_cast<Milliseconds>(
          connection.lastHeard + options_.idleTimeout - Clock::now());
      wait = std::clamp(idleLeft, Milliseconds(0), wait);
    }
    WaitForAny(waiters, wait);
    if (room && waiters.front().ready) {
      AcceptWaiting();
    }
    for (Connection& connection : connections_) {
      Serve(connection);
    }
    connections_.remove_if([](const Connection& connection) { return connection.ended; });
  }
  for (Connection& connection : connections_) {
    End(connection, JobEnd::kStopped);
  }
  connections_.clear();
  onJob_ = nullptr;
}

// Takes every waiting connection there is room for. A failed accept (a client that gave up,
// no file handles left) is left for the next round.
void CaptureServer::AcceptWaiting() {
  while (connections_.size() < options_.maxConnections) {
    std::string peer;
    std::optional<Socket> socket;
    try {
      socket = Accept(listener_, peer);
    } catch (const PlatformError&) {
      return;
    }
    if (!socket) {
      return;
    }
    Connection& connection = connections_.emplace_back();
    connection.socket = std::move(*socket);
    connection.peer = peer;
    try {
      connection.file.emplace(options_.directory, nextNumber_);
    } catch (const PlatformError& e) {
      End(connection, JobEnd::kNotSaved, e.Reason());
    }
    if (options_.makeResponder) {
      connection.responder = options_.makeResponder();
    }
  }
}

// Reads what the client has sent, until it would block, and ends the job when it is over.
void CaptureServer::Serve(Connection& connection) {
  std::array<char, 64 * 1024> buffer{};
  if (connection.inputEnded) {
    if (Clock::now() - connection.lastHeard >= options_.idleTimeout) {
      End(connection, JobEnd::kIdle);
    }
    return;
  }
  while (!connection.ended) {
    std::optional<std::size_t> got;
    try {
      got = Receive(connection.socket, buffer.data(), buffer.size());
    } catch (const PlatformError& e) {
      End(connection, JobEnd::kReset, e.Reason());
      return;
    }
    if (!got) {
      if (Clock::now() - connection.lastHeard >= options_.idleTimeout) {
        End(connection, JobEnd::kIdle);
      }
      return;
    }
    if (*got == 0) {
      if (connection.responder && connection.responder->HoldOpen()) {
        connection.inputEnded = true;
        return;
      }
      End(connection, JobEnd::kClosed);
      return;
    }
    connection.lastHeard = Clock::now();
    const std::uint64_t room = options_.maxJobBytes - connection.bytes;
    const std::size_t keep = static_cast<std::size_t>(std::min<std::uint64_t>(*got, room));
    try {
      connection.file->Write(std::string_view(buffer.data(), keep));
    } catch (const PlatformError& e) {
      End(connection, JobEnd::kNotSaved, e.Reason());
      return;
    }
    connection.bytes += keep;
    if (connection.head.size() < kQueryBytes) {
      connection.head.append(buffer.data(), std::min(keep, kQueryBytes - connection.head.size()));
    }
    if (keep < *got) {
      End(connection, JobEnd::kCutOff);
      return;
    }
    if (connection.responder) {
      const std::string answer = connection.responder->Heard(std::string_view(buffer.data(), keep));
      try {
        SendAll(connection.socket, answer, kAnswerStall);
      } catch (const PlatformError& e) {
        End(connection, JobEnd::kReset, e.Reason());
        return;
      }
    }
  }
}

Content CaptureServer::Classify(const Connection& connection) const {
  if (connection.bytes == 0) {
    return Content::kNothing;
  }
  const bool query = options_.carriesPage && connection.bytes <= kQueryBytes &&
                     !options_.carriesPage(connection.head);
  return query ? Content::kQuery : Content::kJob;
}

void CaptureServer::End(Connection& connection, JobEnd end, std::string reason) {
  connection.ended = true;
  connection.socket.Reset();
  CapturedJob job{std::chrono::system_clock::now(),
                  connection.peer,
                  connection.bytes,
                  {},
                  end,
                  std::move(reason)};
  job.content = Classify(connection);
  // A job whose file failed keeps its .part name: only complete captures are called .prn.
  if (connection.file && end != JobEnd::kNotSaved) {
    try {
      if (job.content == Content::kNothing) {
        connection.file->Discard();
      } else {
        job.file =
            connection.file->Finish(job.content == Content::kQuery ? kQueryPrefix : kJobPrefix);
      }
    } catch (const PlatformError& e) {
      job.end = JobEnd::kNotSaved;
      job.reason = e.Reason();
    }
  }
  if (onJob_ && *onJob_) {
    (*onJob_)(job);
  }
}

}  // namespace quorvel::net
