// The command line's console, printer list and modules on Windows.

#include <fcntl.h>
#include <io.h>

#include "platform/command_line/command_line.h"
#include "platform/platform.h"
#include "platform/win32/module_table.h"
#include "platform/win32/win32_api.h"

namespace quorvel::platform {
namespace {

// Whether the console reads ESC [ K (erase to the end of the line): it does once
// virtual-terminal processing is on (Windows 10 and later).
bool ConsoleErasesLines() {
  const HANDLE console = ::GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (console == INVALID_HANDLE_VALUE || !::GetConsoleMode(console, &mode)) {
    return false;
  }
  return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
         ::SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

}  // namespace

std::vector<std::string> EveryQueue() {
  return MakePrinterList()->DeviceNames();
}

ProgressConsole StandardErrorConsole() {
  const bool terminal = _isatty(_fileno(stderr)) != 0;
  return {terminal, terminal && ConsoleErasesLines()};
}

// The process id and a count make the name; creating the folder is what claims it.
std::filesystem::path MakePrivateFolder(const std::string& prefix) {
  std::error_code error;
  const std::filesystem::path temp = std::filesystem::temp_directory_path(error);
  for (unsigned attempt = 0; !error && attempt < 100; ++attempt) {
    const std::filesystem::path folder =
        temp / (prefix + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(attempt));
    if (std::filesystem::create_directory(folder, error)) {
      return folder;
    }
  }
  return {};
}

bool MakeBinary(std::FILE* stream) {
  return _setmode(_fileno(stream), _O_BINARY) != -1;
}

// The drawing (zint and GDI) is a DLL beside the program, loaded for render and listen --render.
const render::DrawingModule* LoadDrawingModule(std::string& error) {
#ifdef QUORVEL_DRAWING_MODULE_FILE
  static std::string loadError;
  static const render::DrawingModule* const module = LoadCheckedModule<render::DrawingModule>(
      QUORVEL_DRAWING_MODULE_FILE, render::kDrawingModuleEntry, loadError);
  error = loadError;
  return module;
#else
  error = Unavailable(Features(), Feature::kRender);
  return nullptr;
#endif
}

// The scan reading (zbar and the imaging component) is a DLL beside the program, loaded for
// verify alone.
const verify::ScanModule* LoadScanModule(std::string& error) {
#ifdef QUORVEL_SCAN_MODULE_FILE
  static std::string loadError;
  static const verify::ScanModule* const module = LoadCheckedModule<verify::ScanModule>(
      QUORVEL_SCAN_MODULE_FILE, verify::kScanModuleEntry, loadError);
  error = loadError;
  return module;
#else
  error = Unavailable(Features(), Feature::kVerify);
  return nullptr;
#endif
}

}  // namespace quorvel::platform
