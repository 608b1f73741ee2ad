#include "platform/win32/win32_error.h"

#include <cstdio>

#include "common/platform_error.h"

namespace quorvel::win32 {

std::string SystemMessage(DWORD code) {
  char* text = nullptr;
  const DWORD flags =
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  const DWORD length =
      ::FormatMessageA(flags, nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
  std::string message;
  if (length != 0 && text != nullptr) {
    message.assign(text, length);
  }
  if (text != nullptr) {
    ::LocalFree(text);
  }
  while (!message.empty() &&
         (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
    message.pop_back();
  }
  if (message.empty()) {
    char number[32];
    std::snprintf(number, sizeof number, "error 0x%08lX", static_cast<unsigned long>(code));
    message = number;
  }
  return message;
}

void ThrowError(const std::string& operation, DWORD code) {
  throw PlatformError(operation, SystemMessage(code));
}

void ThrowLastError(const std::string& operation) {
  ThrowError(operation, ::GetLastError());
}

}  // namespace quorvel::win32
