#include "platform/net/native_socket.h"

#ifndef _WIN32
#include <system_error>
#endif

namespace quorvel::net::native {

#ifdef _WIN32

int LastError() {
  return WSAGetLastError();
}

bool WouldBlock(int error) {
  return error == WSAEWOULDBLOCK || error == WSAEINPROGRESS || error == WSAEALREADY;
}

std::string ErrorText(int error) {
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length > 0 && buffer ? std::string(buffer, length) : std::string();
  LocalFree(buffer);
  while (!text.empty() &&
         (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.')) {
    text.pop_back();
  }
  return text.empty() ? "Winsock error " + std::to_string(error) : text;
}

bool SetNonBlocking(Handle handle) {
  u_long on = 1;
  return ioctlsocket(handle, FIONBIO, &on) == 0;
}

void CloseHandle(Handle handle) {
  closesocket(handle);
}

#else

int LastError() {
  return errno;
}

bool WouldBlock(int error) {
  return error == EAGAIN || error == EWOULDBLOCK || error == EINPROGRESS || error == EINTR;
}

std::string ErrorText(int error) {
  return std::generic_category().message(error);
}

bool SetNonBlocking(Handle handle) {
  const int flags = fcntl(handle, F_GETFL, 0);
  return flags != -1 && fcntl(handle, F_SETFL, flags | O_NONBLOCK) != -1;
}

void CloseHandle(Handle handle) {
  close(handle);
}

#endif

}  // namespace quorvel::net::native
