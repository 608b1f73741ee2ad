#pragma once

// Helpers for the network tests: every server here listens on 127.0.0.1 only and is stopped
// (its thread joined) by the test that started it.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/net/capture_server.h"
#include "platform/net/native_socket.h"
#include "platform/net/socket.h"

namespace quorvel::testing {

using namespace std::chrono_literals;

// A fresh, empty folder under the system's temporary folder, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("quorvel-net-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The capture server running on a thread of its own; stopped and joined when dropped.
class RunningServer {
 public:
  explicit RunningServer(net::CaptureOptions options)
      : server_(std::move(options)), thread_([this] {
          server_.Run(stop_, [this](const net::CapturedJob& job) {
            const std::lock_guard<std::mutex> lock(mutex_);
            jobs_.push_back(job);
            changed_.notify_all();
          });
        }) {}
  ~RunningServer() { Stop(); }

  std::uint16_t Port() const { return server_.Port(); }
  net::Endpoint Endpoint() const { return {"127.0.0.1", Port()}; }

  void Stop() {
    stop_ = true;
    if (thread_.joinable()) {
      thread_.join();
    }
  }

  // The jobs ended so far, once there are at least `count` of them or `limit` has passed.
  std::vector<net::CapturedJob> WaitForJobs(std::size_t count,
                                            std::chrono::milliseconds limit = 20s) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_for(lock, limit, [&] { return jobs_.size() >= count; });
    return jobs_;
  }

 private:
  net::CaptureServer server_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<net::CapturedJob> jobs_;
  std::thread thread_;
};

// Accepts one connection on `listener` within `limit`; an invalid socket when none came.
inline net::Socket AcceptWithin(const net::Socket& listener, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    std::vector<net::Waiter> one{{listener.Handle(), true, false, false}};
    net::WaitForAny(one, 100ms);
    std::string peer;
    if (std::optional<net::Socket> socket = net::Accept(listener, peer)) {
      return std::move(*socket);
    }
  }
  return {};
}

// Reads exactly `count` bytes (or until the peer closes or `limit` passes).
inline std::string ReadBytes(const net::Socket& socket, std::size_t count,
                             std::chrono::milliseconds limit) {
  std::string bytes;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  char buffer[4096];
  while (bytes.size() < count && std::chrono::steady_clock::now() < deadline) {
    std::vector<net::Waiter> one{{socket.Handle(), true, false, false}};
    net::WaitForAny(one, 100ms);
    const std::optional<std::size_t> got =
        net::Receive(socket, buffer, std::min(sizeof buffer, count - bytes.size()));
    if (got && *got == 0) {
      break;
    }
    bytes.append(buffer, got.value_or(0));
  }
  return bytes;
}

// Closes abortively: the peer gets a reset, not an orderly end.
inline void CloseWithReset(net::Socket& socket) {
  const linger abort{1, 0};
  setsockopt(net::native::ToNative(socket.Handle()), SOL_SOCKET, SO_LINGER,
             reinterpret_cast<const char*>(&abort), sizeof abort);
  socket.Reset();
}

}  // namespace quorvel::testing
