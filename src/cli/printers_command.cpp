#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "app/printers.h"
#include "cli/cli_messages.h"
#include "cli/commands.h"
#include "platform/platform.h"

namespace quorvel::cli {
namespace {

// Exit status when the list cannot be read (for example no print server answers).
constexpr int kExitListFailed = 1;

// A tab and this word follow the default printer's name, so `cut -f1` gives the bare names.
constexpr const char* kDefaultMark = "\tdefault";

int RunPrinters() {
  try {
    const std::unique_ptr<PrinterList> list = platform::MakePrinterList();
    Printers printers(*list);
    TextComboBox combo;
    GetPrinters(printers, combo);
    for (std::size_t i = 0; i < combo.Count(); ++i) {
      const std::string name = combo.TextAt(i);
      std::printf("%s%s\n", name.c_str(), combo.Selected() == i ? kDefaultMark : "");
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quorvel-cli: the printer list could not be read.\n%s\n", e.what());
    return kExitListFailed;
  }
  return std::fflush(stdout) == 0 ? kExitOk : kExitListFailed;
}

}  // namespace

void AddPrintersCommand(CLI::App& app, int& exitCode) {
  CLI::App* command = app.add_subcommand(
      "printers",
      "List the installed printers, one device name per line; the default one is "
      "followed by a tab and \"default\"");
  command->callback([&exitCode] { exitCode = RunPrinters(); });
}

}  // namespace quorvel::cli
