#pragma once

// The one place that includes the system's socket headers: Winsock on Windows, BSD sockets
// elsewhere, and the few names that differ between them.

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#endif

#include <cstdint>
#include <string>

namespace quorvel::net::native {

#ifdef _WIN32
using Handle = SOCKET;
using Length = int;
inline constexpr int kSendFlags = 0;
inline constexpr int kShutdownSend = SD_SEND;
#else
using Handle = int;
using Length = socklen_t;
inline constexpr int kSendFlags = MSG_NOSIGNAL;  // a closed peer is an error, not a signal
inline constexpr int kShutdownSend = SHUT_WR;
#endif

inline Handle ToNative(std::intptr_t handle) {
  return static_cast<Handle>(handle);
}
inline std::intptr_t FromNative(Handle handle) {
  return static_cast<std::intptr_t>(handle);
}

/// The last socket error of this thread (WSAGetLastError, errno).
int LastError();

/// True when the error says "try again later" (a non-blocking call that would block, or a
/// connect still in progress).
bool WouldBlock(int error);

/// The system's text for a socket error code.
std::string ErrorText(int error);

/// Switches a socket to non-blocking mode; returns false on failure.
bool SetNonBlocking(Handle handle);

/// Closes a socket handle.
void CloseHandle(Handle handle);

}  // namespace quorvel::net::native
