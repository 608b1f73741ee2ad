#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "printing/device_reply.h"

namespace quorvel::net {

/// Keeps the system's socket library started for as long as it lives (WSAStartup and
/// WSACleanup on Windows; nothing elsewhere). Throws PlatformError when it cannot start.
class NetworkLibrary {
 public:
  NetworkLibrary();
  ~NetworkLibrary();
  NetworkLibrary(const NetworkLibrary&) = delete;
  NetworkLibrary& operator=(const NetworkLibrary&) = delete;
};

/// Owns one socket from the moment it is created; closes it when dropped.
class Socket {
 public:
  Socket() = default;
  explicit Socket(std::intptr_t handle) : handle_(handle) {}
  ~Socket() { Reset(); }
  Socket(Socket&& other) noexcept : handle_(other.handle_) { other.handle_ = kInvalid; }
  Socket& operator=(Socket&& other) noexcept;
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;

  bool Valid() const { return handle_ != kInvalid; }
  std::intptr_t Handle() const { return handle_; }
  void Reset() noexcept;

 private:
  static constexpr std::intptr_t kInvalid = -1;
  std::intptr_t handle_ = kInvalid;
};

/// A host and a TCP port, as "HOST:PORT" or "[IPv6]:PORT".
struct Endpoint {
  std::string host;
  std::uint16_t port = 0;
  std::string Text() const;
};

/// The raw printing port of network printers (AppSocket, JetDirect).
inline constexpr std::uint16_t kRawPrintPort = 9100;

/// Reads "HOST", "HOST:PORT", "[ADDR]" or "[ADDR]:PORT" (a bare IPv6 address takes the default
/// port). Nothing when the text is not one of these or the port is not 1 to 65535.
std::optional<Endpoint> ParseEndpoint(std::string_view text, std::uint16_t defaultPort);

using Milliseconds = std::chrono::milliseconds;

/// Connects within `timeout`, trying each address the host name resolves to. A `sendBuffer`
/// above 0 sets the socket's send buffer size. Throws PlatformError with the system's reason.
Socket Connect(const Endpoint& endpoint, Milliseconds timeout, int sendBuffer = 0);

/// Sends every byte; fails when no byte could be sent for `stall`. Throws PlatformError.
void SendAll(const Socket& socket, std::string_view bytes, Milliseconds stall);

/// Ends the sending direction and waits until the peer closes the connection, reading and
/// dropping whatever it sends back; fails when nothing happens for `stall` or the peer resets
/// the connection (it did not take every byte). Throws PlatformError.
void FinishSending(const Socket& socket, Milliseconds stall);

/// Ends the sending direction and keeps what the printer sends back, as `read` bounds it; the
/// connection stays open until then. Throws PlatformError when the connection fails (a reset).
BackChannel ReadBackChannel(const Socket& socket, const BackChannelRead& read);

/// A listening socket on `address` (numeric) and `port` (0: any free port). A `receiveBuffer`
/// above 0 sets the receive buffer size of the connections it accepts. Throws PlatformError.
Socket Listen(const std::string& address, std::uint16_t port, int receiveBuffer = 0);

/// Whether `address` is a numeric IPv4 or IPv6 address, as Listen takes it.
bool IsNumericAddress(const std::string& address);

/// The local port a socket is bound to.
std::uint16_t LocalPort(const Socket& socket);

/// Accepts one waiting connection (non-blocking) and names its peer ("127.0.0.1:50312").
/// Nothing when none is waiting; throws PlatformError when accepting fails.
std::optional<Socket> Accept(const Socket& listener, std::string& peer);

/// Reads what has arrived: nothing when no byte is waiting yet, 0 when the peer has closed.
/// Throws PlatformError when the connection failed (for example a reset).
std::optional<std::size_t> Receive(const Socket& socket, char* buffer, std::size_t size);

/// One socket to wait for, and what was found.
struct Waiter {
  std::intptr_t handle = -1;
  bool read = false;
  bool write = false;
  bool ready = false;  // readable, writable or failed: the next call will not block
};

/// A duration for a message: "15 s", "0.25 s".
std::string SecondsText(Milliseconds duration);

/// Waits until one of the sockets is ready or `timeout` has passed; false on timeout.
bool WaitForAny(std::vector<Waiter>& waiters, Milliseconds timeout);

}  // namespace quorvel::net
