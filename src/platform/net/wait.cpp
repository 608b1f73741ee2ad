#include <algorithm>
#include <thread>

#include "platform/net/native_socket.h"
#include "platform/net/socket.h"

namespace quorvel::net {

#ifdef _WIN32

// select() rather than WSAPoll: WSAPoll does not report a failed connect on older Windows.
// Windows' fd_set is a list of handles, so the handle values themselves do not matter.
bool WaitForAny(std::vector<Waiter>& waiters, Milliseconds timeout) {
  if (waiters.empty()) {
    std::this_thread::sleep_for(timeout);
    return false;
  }
  fd_set readable;
  fd_set writable;
  fd_set failed;
  FD_ZERO(&readable);
  FD_ZERO(&writable);
  FD_ZERO(&failed);
  for (const Waiter& waiter : waiters) {
    const SOCKET handle = native::ToNative(waiter.handle);
    if (waiter.read) {
      FD_SET(handle, &readable);
    }
    if (waiter.write) {
      FD_SET(handle, &writable);
    }
    FD_SET(handle, &failed);
  }
  const long long ms = std::max<long long>(0, timeout.count());
  timeval limit{static_cast<long>(ms / 1000), static_cast<long>((ms % 1000) * 1000)};
  const int count = select(0, &readable, &writable, &failed, &limit);
  for (Waiter& waiter : waiters) {
    const SOCKET handle = native::ToNative(waiter.handle);
    waiter.ready = count > 0 && (FD_ISSET(handle, &readable) || FD_ISSET(handle, &writable) ||
                                 FD_ISSET(handle, &failed));
  }
  return count > 0;
}

#else

bool WaitForAny(std::vector<Waiter>& waiters, Milliseconds timeout) {
  std::vector<pollfd> polled;
  polled.reserve(waiters.size());
  for (const Waiter& waiter : waiters) {
    const short events =
        static_cast<short>((waiter.read ? POLLIN : 0) | (waiter.write ? POLLOUT : 0));
    polled.push_back({native::ToNative(waiter.handle), events, 0});
  }
  const int ms = static_cast<int>(std::clamp<long long>(timeout.count(), 0, 24 * 3600 * 1000));
  const int count = poll(polled.data(), polled.size(), ms);
  for (std::size_t i = 0; i < waiters.size(); ++i) {
    waiters[i].ready = count > 0 && polled[i].revents != 0;
  }
  return count > 0;
}

#endif

}  // namespace quorvel::net
