#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/build_features.h"
#include "printing/target.h"
#include "render/drawing_module.h"
#include "verify/scan_module.h"

// What quorvel-cli takes from the platform, in one place: the command line itself holds no
// platform code and decides nothing about what this build can do.
namespace quorvel::platform {

/// The program's arguments as UTF-8, its name first: on Windows read from the UTF-16 command
/// line (the narrow `argv` has only what the ANSI code page holds), on POSIX `argv` as it is.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

/// Lets the console's interrupt reach the SIGINT handler that a wait installs: on Windows,
/// Ctrl-C and Ctrl-Break come as console control events, not as a signal.
void ForwardConsoleInterrupts();

/// What this build can do (render, verify, SNMP, --server).
const BuildFeatures& Features();

/// This system's printers: its print server's queues, IPP printers and raw ports (with SNMP
/// where the build has it). It holds nothing, so every thread may use it.
PrinterAccess& SystemPrinters();

/// The same ways through another print server, HOST:PORT (--server): its queues, with the
/// IPP printers and raw ports as for SystemPrinters. One per server for the whole run.
PrinterAccess& ServerPrinters(const std::string& server);

/// The user's own print server as reports name it (the same function as in platform.h).
std::string LocalServerName();

/// Every queue of the user's print server, as --all takes them: CUPS instances are left out,
/// they print on a queue already listed.
std::vector<std::string> EveryQueue();

/// How standard error shows a progress bar: only on a terminal, cleared with ESC [ K where the
/// terminal reads it (a Windows console once virtual-terminal processing is on), else with
/// spaces over the bar.
struct ProgressConsole {
  bool terminal = false;
  bool erasesLines = false;
};
ProgressConsole StandardErrorConsole();

/// Makes `stream` pass bytes unchanged (no newline translation on Windows). False when it
/// could not.
bool MakeBinary(std::FILE* stream);

/// A new folder of the user's own under the temporary folder, named PREFIX and a unique ending;
/// empty when none could be made.
std::filesystem::path MakePrivateFolder(const std::string& prefix);

/// The drawing module (render) and the scan module (verify), loaded on the first call and kept
/// for the process's life. nullptr with `error` saying why where they cannot be loaded or this
/// build has none.
const render::DrawingModule* LoadDrawingModule(std::string& error);
const verify::ScanModule* LoadScanModule(std::string& error);

}  // namespace quorvel::platform
