#pragma once

#include <vector>

#include "about/sys_info.h"

namespace quorvel::platform {

/// The desktop system-information tools the About window's System Info button tries, in order;
/// the first one installed is started.
std::vector<SysInfoTool> LinuxSysInfoTools();

}  // namespace quorvel::platform
