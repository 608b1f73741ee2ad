// The command line's console and printer list on POSIX systems, whose print server is CUPS.

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "platform/command_line/command_line.h"
#include "platform/platform.h"

namespace quorvel::platform {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return {argv, argv + argc};
}

// SIGINT itself is the terminal's interrupt.
void ForwardConsoleInterrupts() {}

std::vector<std::string> EveryQueue() {
  std::vector<std::string> queues = MakePrinterList()->DeviceNames();
  // A CUPS instance, QUEUE/INSTANCE, prints on its queue with other options.
  std::erase_if(queues,
                [](const std::string& name) { return name.find('/') != std::string::npos; });
  return queues;
}

ProgressConsole StandardErrorConsole() {
  const bool terminal = isatty(fileno(stderr)) != 0;
  return {terminal, terminal};
}

std::filesystem::path MakePrivateFolder(const std::string& prefix) {
  std::error_code error;
  std::string pattern = (std::filesystem::temp_directory_path(error) / (prefix + "XXXXXX"));
  if (error || mkdtemp(pattern.data()) == nullptr) {
    return {};
  }
  return pattern;
}

bool MakeBinary(std::FILE* /*stream*/) {
  return true;
}

}  // namespace quorvel::platform
