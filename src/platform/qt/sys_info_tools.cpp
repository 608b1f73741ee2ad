#include "platform/qt/sys_info_tools.h"

namespace quorvel::platform {

std::vector<SysInfoTool> LinuxSysInfoTools() {
  return {
      {"/usr/bin/hardinfo", ""},                          // GTK system profiler
      {"/usr/bin/kinfocenter", ""},                       // KDE Info Center
      {"/usr/bin/gnome-control-center", "info-overview"}  // GNOME Settings, About panel
  };
}

}  // namespace quorvel::platform
