#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quorvel {

/// A registry value as the system returned it: its type and the bytes of its data, exactly as
/// many as the system reported.
struct RegistryData {
  std::uint32_t type = 0;
  std::string bytes;
};

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegDword = 4;
/// HKEY_LOCAL_MACHINE as the predefined key handle value.
inline constexpr std::uint32_t kHkeyLocalMachine = 0x80000002u;

/// Read-only access to the registry.
class Registry {
 public:
  virtual ~Registry() = default;
  /// Opens `keyName` below `keyRoot` for reading and queries `valueName` once into a buffer of
  /// `capacity` bytes. Nothing when the key can't be opened or the value can't be read (missing,
  /// or larger than the buffer).
  virtual std::optional<RegistryData> Query(std::uint32_t keyRoot, const std::string& keyName,
                                            const std::string& valueName,
                                            std::uint32_t capacity) = 0;
  /// Expands %NAME% environment references as the system does for REG_EXPAND_SZ values.
  virtual std::string ExpandEnvironment(const std::string& text) = 0;
};

/// Finds files by path.
class FileLookup {
 public:
  virtual ~FileLookup() = default;
  /// True when `path` names a file with normal attributes: ordinary, read-only or archive files
  /// count; hidden files, system files and directories do not.
  virtual bool HasNormalFile(const std::string& path) = 0;
};

/// Starts other programs.
class ProcessStarter {
 public:
  virtual ~ProcessStarter() = default;
  /// Starts the program at exactly `programPath` (never re-parsed at blanks) with `arguments`, in a
  /// normal window, without waiting. Throws PlatformError when it can't be started.
  virtual void Start(const std::string& programPath, const std::string& arguments) = 0;
};

/// Shows a web address to the user.
class Browser {
 public:
  virtual ~Browser() = default;
  /// Opens `address` in a browser window. Throws PlatformError on failure.
  virtual void Navigate(const std::string& address) = 0;
};

}  // namespace quorvel
