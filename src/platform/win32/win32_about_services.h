#pragma once

#include "about/about_services.h"
#include "common/messages.h"
#include "platform/win32/win32_api.h"

namespace quorvel::win32 {

/// advapi32's registry through the ANSI entry points, opening keys with KEY_READ only: a
/// standard user has no write rights on HKEY_LOCAL_MACHINE, and none are needed to read.
class Win32Registry : public Registry {
 public:
  std::optional<RegistryData> Query(std::uint32_t keyRoot, const std::string& keyName,
                                    const std::string& valueName, std::uint32_t capacity) override;
  std::string ExpandEnvironment(const std::string& text) override;
};

/// GetFileAttributesA: ordinary, read-only and archive files count; hidden, system and
/// directories don't.
class Win32FileLookup : public FileLookup {
 public:
  bool HasNormalFile(const std::string& path) override;
};

/// CreateProcessA with the program's exact path as the application name and a quoted first word
/// on the command line, so that blanks in the path never pick another program.
class Win32ProcessStarter : public ProcessStarter {
 public:
  void Start(const std::string& programPath, const std::string& arguments) override;
};

/// The desktop's default browser: ShellExecuteA "open".
class ShellBrowser : public Browser {
 public:
  void Navigate(const std::string& address) override;
};

/// MessageBoxA with OK only, no icon, titled "Quorvel", owned by the active window.
class MessageBoxDisplay : public MessageDisplay {
 public:
  void Show(std::string_view text) override;
};

/// The quoted command line CreateProcess gets for `programPath` and `arguments`.
std::string QuotedCommandLine(const std::string& programPath, const std::string& arguments);

}  // namespace quorvel::win32
