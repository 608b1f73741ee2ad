#include <algorithm>
#include <array>
#include <memory>

#include "common/platform_error.h"
#include "platform/net/native_socket.h"
#include "platform/net/socket.h"

namespace quorvel::net {
namespace {

[[noreturn]] void ThrowLast(const std::string& operation) {
  throw PlatformError(operation, native::ErrorText(native::LastError()));
}

std::string PeerText(const sockaddr_storage& address) {
  char host[NI_MAXHOST] = {};
  char port[NI_MAXSERV] = {};
  if (getnameinfo(reinterpret_cast<const sockaddr*>(&address), sizeof address, host, sizeof host,
                  port, sizeof port, NI_NUMERICHOST | NI_NUMERICSERV) != 0) {
    return "unknown peer";
  }
  return Endpoint{host, static_cast<std::uint16_t>(std::stoi(port))}.Text();
}

}  // namespace

NetworkLibrary::NetworkLibrary() {
#ifdef _WIN32
  WSADATA data;
  if (const int error = WSAStartup(MAKEWORD(2, 2), &data); error != 0) {
    throw PlatformError("WSAStartup", native::ErrorText(error));
  }
#endif
}

NetworkLibrary::~NetworkLibrary() {
#ifdef _WIN32
  WSACleanup();
#endif
}

std::string SecondsText(Milliseconds duration) {
  const long long ms = duration.count();
  std::string text = std::to_string(ms / 1000);
  if (ms % 1000 != 0) {
    std::string fraction = std::to_string(1000 + ms % 1000).substr(1);
    fraction.erase(fraction.find_last_not_of('0') + 1);
    text += "." + fraction;
  }
  return text + " s";
}

void FinishSending(const Socket& socket, Milliseconds stall) {
  const native::Handle handle = native::ToNative(socket.Handle());
  if (shutdown(handle, native::kShutdownSend) != 0) {
    ThrowLast("shutdown");
  }
  std::array<char, 4096> backChannel{};
  for (;;) {
    std::vector<Waiter> one{{socket.Handle(), true, false, false}};
    if (!WaitForAny(one, stall)) {
      throw PlatformError("finish the job", "the printer did not end the connection within " +
                                                SecondsText(stall) + " after the last byte");
    }
    const std::optional<std::size_t> got = Receive(socket, backChannel.data(), backChannel.size());
    if (got && *got == 0) {
      return;
    }
  }
}

// How often a wait for a reply looks whether the user stopped waiting.
constexpr Milliseconds kStopLook{100};

BackChannel ReadBackChannel(const Socket& socket, const BackChannelRead& read) {
  const native::Handle handle = native::ToNative(socket.Handle());
  if (shutdown(handle, native::kShutdownSend) != 0) {
    ThrowLast("shutdown");
  }
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + read.limit;
  BackChannel reply;
  std::array<char, 4096> buffer{};
  for (;;) {
    if (read.enough && read.enough(reply.bytes)) {
      reply.end = BackChannel::End::kEnough;
      return reply;
    }
    if (read.stopped && read.stopped()) {
      reply.end = BackChannel::End::kStopped;
      return reply;
    }
    const auto left = std::chrono::duration_cast<Milliseconds>(deadline - Clock::now());
    std::vector<Waiter> one{{socket.Handle(), true, false, false}};
    if (left.count() <= 0) {
      reply.end = BackChannel::End::kTimedOut;
      return reply;
    }
    if (!WaitForAny(one, read.stopped ? std::min(left, kStopLook) : left)) {
      continue;  // the deadline or the user's stop is looked at again above
    }
    const std::optional<std::size_t> got = Receive(socket, buffer.data(), buffer.size());
    if (!got) {
      continue;
    }
    if (*got == 0) {
      reply.end = BackChannel::End::kClosed;
      return reply;
    }
    const std::size_t room = read.cap - reply.bytes.size();
    reply.bytes.append(buffer.data(), std::min(*got, room));
    if (*got > room || reply.bytes.size() >= read.cap) {
      reply.end = BackChannel::End::kCapped;
      return reply;
    }
  }
}

bool IsNumericAddress(const std::string& address) {
  const NetworkLibrary library;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_flags = AI_NUMERICHOST;
  addrinfo* found = nullptr;
  if (getaddrinfo(address.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
    return false;
  }
  freeaddrinfo(found);
  return true;
}

Socket Listen(const std::string& address, std::uint16_t port, int receiveBuffer) {
  const std::string operation = "listen on " + Endpoint{address, port}.Text();
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICHOST | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  if (getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found) {
    throw PlatformError(operation, "not a numeric IPv4 or IPv6 address");
  }
  const std::unique_ptr<addrinfo, void (*)(addrinfo*)> owner(found, freeaddrinfo);
  Socket socket(native::FromNative(::socket(found->ai_family, SOCK_STREAM, IPPROTO_TCP)));
  if (!socket.Valid() || !native::SetNonBlocking(native::ToNative(socket.Handle()))) {
    ThrowLast(operation);
  }
  const native::Handle handle = native::ToNative(socket.Handle());
#ifndef _WIN32
  // Lets a restarted listener take its port back at once; on Windows the same option would let
  // a second listener steal the port, so it stays off there.
  const int reuse = 1;
  setsockopt(handle, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
#endif
  if (receiveBuffer > 0 &&
      setsockopt(handle, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&receiveBuffer),
                 sizeof receiveBuffer) != 0) {
    ThrowLast(operation);
  }
  if (bind(handle, found->ai_addr, static_cast<native::Length>(found->ai_addrlen)) != 0 ||
      listen(handle, SOMAXCONN) != 0) {
    ThrowLast(operation);
  }
  return socket;
}

std::uint16_t LocalPort(const Socket& socket) {
  sockaddr_storage address{};
  native::Length length = sizeof address;
  if (getsockname(native::ToNative(socket.Handle()), reinterpret_cast<sockaddr*>(&address),
                  &length) != 0) {
    ThrowLast("getsockname");
  }
  const auto* any = reinterpret_cast<const sockaddr_in*>(&address);
  const auto* six = reinterpret_cast<const sockaddr_in6*>(&address);
  return ntohs(address.ss_family == AF_INET6 ? six->sin6_port : any->sin_port);
}

std::optional<Socket> Accept(const Socket& listener, std::string& peer) {
  sockaddr_storage address{};
  native::Length length = sizeof address;
  Socket socket(native::FromNative(
      accept(native::ToNative(listener.Handle()), reinterpret_cast<sockaddr*>(&address), &length)));
  if (!socket.Valid()) {
    const int error = native::LastError();
    if (native::WouldBlock(error)) {
      return std::nullopt;
    }
    throw PlatformError("accept", native::ErrorText(error));
  }
  if (!native::SetNonBlocking(native::ToNative(socket.Handle()))) {
    ThrowLast("accept");
  }
  peer = PeerText(address);
  return socket;
}

std::optional<std::size_t> Receive(const Socket& socket, char* buffer, std::size_t size) {
  const int chunk = static_cast<int>(std::min<std::size_t>(size, 1 << 20));
  const auto got = recv(native::ToNative(socket.Handle()), buffer, chunk, 0);
  if (got >= 0) {
    return static_cast<std::size_t>(got);
  }
  const int error = native::LastError();
  if (native::WouldBlock(error)) {
    return std::nullopt;
  }
  throw PlatformError("receive", native::ErrorText(error));
}

}  // namespace quorvel::net
