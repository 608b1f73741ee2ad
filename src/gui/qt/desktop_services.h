#pragma once

#include <functional>
#include <vector>

#include "about/about_services.h"
#include "about/sys_info.h"
#include "app/printer_list.h"
#include "common/messages.h"
#include "printing/spooler.h"

namespace quorvel::qt {

/// Everything the windows ask of the platform. The program hands in the real adapters, tests
/// their fakes; all of them outlive the windows.
struct DesktopServices {
  PrinterList& printerList;
  Spooler& spooler;
  MessageDisplay& messages;
  FileLookup& files;
  ProcessStarter& processes;
  Browser& browser;
  std::vector<SysInfoTool> sysInfoTools;
  /// Ends the program at once ("File" > "Exit").
  std::function<void()> endProgram;
};

}  // namespace quorvel::qt
