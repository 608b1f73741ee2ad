#include "about/sys_info.h"

#include <cstdio>
#include <stdexcept>

namespace quorvel {
namespace {

// "&h" and the bytes from the most significant to the least, two upper-case hex digits each.
std::string DwordText(const std::string& bytes) {
  std::string text = "&h";
  for (auto it = bytes.rbegin(); it != bytes.rend(); ++it) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned char>(*it));
    text += digits;
  }
  return text;
}

// Finds the tool's full path: the first key names the program, the second the folder that must
// hold MSINFO32.EXE. Empty when neither leads to a program.
std::string FindSysInfoTool(Registry& registry, FileLookup& files) {
  std::string toolPath;
  if (GetKeyValue(registry, kHkeyLocalMachine, kMsInfoKey, kMsInfoPathValue, toolPath)) {
    return toolPath;
  }
  if (!GetKeyValue(registry, kHkeyLocalMachine, kSharedToolsKey, kSharedToolsMsInfoValue,
                   toolPath)) {
    return {};
  }
  if (!files.HasNormalFile(toolPath + kMsInfoFileName)) {
    return {};
  }
  return toolPath + kMsInfoFileName;
}

}  // namespace

bool GetKeyValue(Registry& registry, std::uint32_t keyRoot, const std::string& keyName,
                 const std::string& subKeyRef, std::string& keyVal) {
  std::optional<RegistryData> data =
      registry.Query(keyRoot, keyName, subKeyRef, kRegistryBufferSize);
  if (!data) {
    keyVal.clear();
    return false;
  }
  std::string cut = std::move(data->bytes);
  if (cut.empty()) {
    throw std::invalid_argument("the registry value \"" + subKeyRef + "\" holds no data");
  }
  if (cut.back() == '\0') {
    cut.pop_back();
  }
  switch (data->type) {
    case kRegSz:
      keyVal = std::move(cut);
      break;
    case kRegExpandSz:
      keyVal = registry.ExpandEnvironment(cut);
      break;
    case kRegDword:
      keyVal = DwordText(cut);
      break;
    default:
      break;  // other types leave keyVal as it was
  }
  return true;
}

void StartSysInfo(SysInfoContext context) {
  try {
    const std::string toolPath = FindSysInfoTool(context.registry, context.files);
    if (!toolPath.empty()) {
      context.processes.Start(toolPath, "");
      return;
    }
  } catch (const std::exception&) {
    // Every failure on the way ends in the one message below.
  }
  context.messages.Show(kSysInfoUnavailable);
}

void StartSysInfoFrom(const std::vector<SysInfoTool>& candidates, FileLookup& files,
                      ProcessStarter& processes, MessageDisplay& messages) {
  try {
    for (const SysInfoTool& tool : candidates) {
      if (files.HasNormalFile(tool.program)) {
        processes.Start(tool.program, tool.arguments);
        return;
      }
    }
  } catch (const std::exception&) {
    // A tool that is installed but won't start is as unavailable as a missing one.
  }
  messages.Show(kSysInfoUnavailable);
}

}  // namespace quorvel
