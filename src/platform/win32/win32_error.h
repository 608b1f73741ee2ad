#pragma once

#include <string>

#include "platform/win32/win32_api.h"

namespace quorvel::win32 {

/// The system's own text for an error code or HRESULT (FormatMessage), without the final line
/// break; the number in hexadecimal when the system has no text for it.
std::string SystemMessage(DWORD code);

/// Throws PlatformError for `operation` with the reason of `code`.
[[noreturn]] void ThrowError(const std::string& operation, DWORD code);

/// Throws PlatformError for `operation` with the reason of GetLastError().
[[noreturn]] void ThrowLastError(const std::string& operation);

}  // namespace quorvel::win32
