#include "platform/win32/win32_about_services.h"

#include "common/platform_error.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_error.h"

#include <shellapi.h>

#include <algorithm>
#include <vector>

namespace quorvel::win32 {
namespace {

// A predefined key such as 0x80000002 is a sign-extended handle value on 64-bit Windows.
HKEY PredefinedKey(std::uint32_t keyRoot) {
  return reinterpret_cast<HKEY>(
      static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(keyRoot))));
}

// Collects the thread's visible top-level windows that take input now.
BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM windows) {
  if (::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  }
  return TRUE;
}

}  // namespace

std::optional<RegistryData> Win32Registry::Query(std::uint32_t keyRoot, const std::string& keyName,
                                                 const std::string& valueName,
                                                 std::uint32_t capacity) {
  UniqueRegistryKey key;
  if (::RegOpenKeyExA(PredefinedKey(keyRoot), keyName.c_str(), 0, KEY_READ, key.Put()) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  RegistryData data;
  data.bytes.assign(capacity, '\0');
  DWORD type = 0;
  DWORD size = capacity;
  if (::RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(data.bytes.data()), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  data.type = type;
  data.bytes.resize(size);
  return data;
}

std::string Win32Registry::ExpandEnvironment(const std::string& text) {
  const DWORD needed = ::ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
  if (needed == 0) {
    ThrowLastError("ExpandEnvironmentStrings");
  }
  std::string expanded(needed, '\0');
  const DWORD length = ::ExpandEnvironmentStringsA(text.c_str(), expanded.data(), needed);
  if (length == 0 || length > needed) {
    ThrowLastError("ExpandEnvironmentStrings");
  }
  expanded.resize(length - 1);
  return expanded;
}

bool Win32FileLookup::HasNormalFile(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return false;
  }
  const DWORD excluded = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  return (attributes & excluded) == 0;
}

std::string QuotedCommandLine(const std::string& programPath, const std::string& arguments) {
  std::string commandLine = "\"" + programPath + "\"";
  if (!arguments.empty()) {
    commandLine += " " + arguments;
  }
  return commandLine;
}

void Win32ProcessStarter::Start(const std::string& programPath, const std::string& arguments) {
  if (programPath.empty() || programPath.find('"') != std::string::npos) {
    ThrowError("CreateProcess " + programPath, ERROR_INVALID_NAME);
  }
  std::string commandLine = QuotedCommandLine(programPath, arguments);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(programPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process)) {
    ThrowLastError("CreateProcess " + programPath);
  }
  UniqueKernelHandle processHandle(process.hProcess);
  UniqueKernelHandle threadHandle(process.hThread);
}

void ShellBrowser::Navigate(const std::string& address) {
  ::SetLastError(ERROR_SUCCESS);
  const auto result = reinterpret_cast<INT_PTR>(
      ::ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result <= 32) {
    const DWORD error = ::GetLastError();
    ThrowError("ShellExecute " + address,
               error != ERROR_SUCCESS ? error : static_cast<DWORD>(result));
  }
}

// The box is modal to the whole program: while it is up no window of the program takes input.
// It is owned by the active window (else by the first one), which it disables itself and to which
// the activation returns; every other window is disabled here and enabled again afterwards.
void MessageBoxDisplay::Show(std::string_view text) {
  const std::string message(text);
  const std::string title(kAppTitle);
  std::vector<HWND> windows;
  ::EnumThreadWindows(::GetCurrentThreadId(), CollectEnabledWindow,
                      reinterpret_cast<LPARAM>(&windows));
  HWND owner = ::GetActiveWindow();
  if (std::find(windows.begin(), windows.end(), owner) == windows.end()) {
    owner = windows.empty() ? nullptr : windows.front();
  }
  for (HWND window : windows) {
    if (window != owner) {
      ::EnableWindow(window, FALSE);
    }
  }
  const int pressed = ::MessageBoxA(owner, message.c_str(), title.c_str(), MB_OK);
  const DWORD error = ::GetLastError();
  for (HWND window : windows) {
    if (window != owner && ::IsWindow(window)) {
      ::EnableWindow(window, TRUE);
    }
  }
  if (pressed == 0) {
    ThrowError("MessageBox", error);
  }
}

}  // namespace quorvel::win32
