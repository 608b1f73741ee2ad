#include "platform/net/socket.h"

#include <algorithm>
#include <memory>

#include "common/platform_error.h"
#include "platform/net/native_socket.h"

namespace quorvel::net {
namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void ThrowLast(const std::string& operation) {
  throw PlatformError(operation, native::ErrorText(native::LastError()));
}

Milliseconds Left(Clock::time_point deadline) {
  return std::max(Milliseconds(0),
                  std::chrono::duration_cast<Milliseconds>(deadline - Clock::now()));
}

// Waits until the socket can be read (or written); false when `limit` passed first.
bool WaitFor(const Socket& socket, bool write, Milliseconds limit) {
  std::vector<Waiter> one{{socket.Handle(), !write, write, false}};
  return WaitForAny(one, limit);
}

// The pending error of a socket (a failed non-blocking connect); 0 when there is none.
int PendingError(native::Handle handle) {
  int error = 0;
  native::Length length = sizeof error;
  if (getsockopt(handle, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0) {
    return native::LastError();
  }
  return error;
}

Socket OpenSocket(int family, const std::string& operation) {
  Socket socket(native::FromNative(::socket(family, SOCK_STREAM, IPPROTO_TCP)));
  if (!socket.Valid() || !native::SetNonBlocking(native::ToNative(socket.Handle()))) {
    ThrowLast(operation);
  }
  return socket;
}

void SetBuffer(const Socket& socket, int option, int size, const std::string& operation) {
  if (size > 0 && setsockopt(native::ToNative(socket.Handle()), SOL_SOCKET, option,
                             reinterpret_cast<const char*>(&size), sizeof size) != 0) {
    ThrowLast(operation);
  }
}

// One connect attempt to one resolved address; the system's reason on failure.
std::optional<Socket> TryConnect(const addrinfo& address, Clock::time_point deadline,
                                 int sendBuffer, std::string& reason) {
  const std::string operation = "connect";
  Socket socket = OpenSocket(address.ai_family, operation);
  SetBuffer(socket, SO_SNDBUF, sendBuffer, operation);
  const native::Handle handle = native::ToNative(socket.Handle());
  if (connect(handle, address.ai_addr, static_cast<native::Length>(address.ai_addrlen)) != 0) {
    const int error = native::LastError();
    if (!native::WouldBlock(error)) {
      reason = native::ErrorText(error);
      return std::nullopt;
    }
    if (!WaitFor(socket, true, Left(deadline))) {
      reason = "no answer within the connect timeout";
      return std::nullopt;
    }
    if (const int pending = PendingError(handle); pending != 0) {
      reason = native::ErrorText(pending);
      return std::nullopt;
    }
  }
  return socket;
}

}  // namespace

Socket& Socket::operator=(Socket&& other) noexcept {
  if (this != &other) {
    Reset();
    handle_ = other.handle_;
    other.handle_ = kInvalid;
  }
  return *this;
}

void Socket::Reset() noexcept {
  if (handle_ != kInvalid) {
    native::CloseHandle(native::ToNative(handle_));
    handle_ = kInvalid;
  }
}

Socket Connect(const Endpoint& endpoint, Milliseconds timeout, int sendBuffer) {
  const std::string operation = "connect to " + endpoint.Text();
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const int resolved =
      getaddrinfo(endpoint.host.c_str(), std::to_string(endpoint.port).c_str(), &hints, &found);
  if (resolved != 0) {
#ifdef _WIN32
    throw PlatformError(operation, native::ErrorText(resolved));
#else
    throw PlatformError(operation, gai_strerror(resolved));
#endif
  }
  const std::unique_ptr<addrinfo, void (*)(addrinfo*)> owner(found, freeaddrinfo);
  const Clock::time_point deadline = Clock::now() + timeout;
  std::string reason = "the host name has no address";
  for (const addrinfo* address = found; address; address = address->ai_next) {
    if (std::optional<Socket> socket = TryConnect(*address, deadline, sendBuffer, reason)) {
      return std::move(*socket);
    }
  }
  throw PlatformError(operation, reason);
}

void SendAll(const Socket& socket, std::string_view bytes, Milliseconds stall) {
  const native::Handle handle = native::ToNative(socket.Handle());
  while (!bytes.empty()) {
    const int chunk = static_cast<int>(std::min<std::size_t>(bytes.size(), 1 << 20));
    const auto sent = ::send(handle, bytes.data(), chunk, native::kSendFlags);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(sent));
      continue;
    }
    const int error = native::LastError();
    if (sent == 0 || !native::WouldBlock(error)) {
      throw PlatformError("send", native::ErrorText(error));
    }
    if (!WaitFor(socket, true, stall)) {
      throw PlatformError("send", "the printer took no data for " + SecondsText(stall));
    }
  }
}

}  // namespace quorvel::net
