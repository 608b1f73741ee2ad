#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "about/about_services.h"
#include "common/messages.h"

namespace quorvel {

inline constexpr const char* kMsInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr const char* kMsInfoPathValue = "PATH";
inline constexpr const char* kSharedToolsKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr const char* kSharedToolsMsInfoValue = "MSINFO";
inline constexpr const char* kMsInfoFileName = "\\MSINFO32.EXE";
/// Registry values are read once into a buffer of this many bytes; a larger value counts as
/// missing.
inline constexpr std::uint32_t kRegistryBufferSize = 1024;

/// Reads one registry value as text into `keyVal`. Returns false (and empties `keyVal`) when the
/// key or value can't be read. REG_SZ and REG_EXPAND_SZ become their text (the latter expanded),
/// REG_DWORD "&h" and upper-case hex digits; another type leaves `keyVal` as it was. Throws
/// std::invalid_argument for a value of zero bytes.
bool GetKeyValue(Registry& registry, std::uint32_t keyRoot, const std::string& keyName,
                 const std::string& subKeyRef, std::string& keyVal);

/// What the system information launcher works with.
struct SysInfoContext {
  Registry& registry;
  FileLookup& files;
  ProcessStarter& processes;
  MessageDisplay& messages;
};

/// Finds the Windows system information tool through the registry and starts it; every failure
/// ends in kSysInfoUnavailable.
void StartSysInfo(SysInfoContext context);

/// A system information tool of a desktop without a registry: its program and arguments.
struct SysInfoTool {
  std::string program;
  std::string arguments;
};

/// Starts the first of `candidates` whose program is installed; none installed, or a failed
/// start, ends in kSysInfoUnavailable.
void StartSysInfoFrom(const std::vector<SysInfoTool>& candidates, FileLookup& files,
                      ProcessStarter& processes, MessageDisplay& messages);

}  // namespace quorvel
