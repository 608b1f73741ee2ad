#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/printers.h"
#include "cli/cli_messages.h"
#include "cli/commands.h"
#include "cli/fleet_run.h"
#include "platform/command_line/command_line.h"

namespace quorvel::cli {
namespace {

// Exit status when the list cannot be read (for example no print server answers).

// A tab and this word follow the default printer's name, so `cut -f1` gives the bare names.
constexpr const char* kDefaultMark = "\tdefault";

// The printers of one print server (the user's own when `server` is empty) as the window's list
// has them, each name after `prefix`; false, with the reason on standard error, when the list
// cannot be read.
bool ListPrinters(const std::string& server, const std::string& prefix) {
  try {
    const std::unique_ptr<PrinterList> list =
        (server.empty() ? platform::SystemPrinters() : platform::ServerPrinters(server))
            .MakePrinterList();
    Printers printers(*list);
    TextComboBox combo;
    GetPrinters(printers, combo);
    for (std::size_t i = 0; i < combo.Count(); ++i) {
      const std::string name = prefix + combo.TextAt(i);
      std::printf("%s%s\n", name.c_str(), combo.Selected() == i ? kDefaultMark : "");
    }
    return true;
  } catch (const std::exception& e) {
    std::fflush(stdout);
    if (server.empty()) {
      std::fprintf(stderr, "quorvel-cli: the printer list could not be read.\n%s\n", e.what());
    } else {
      std::fprintf(stderr, "quorvel-cli: the printer list of %s could not be read.\n%s\n",
                   server.c_str(), e.what());
    }
    return false;
  }
}

// With --server, each server's printers as SERVER/QUEUE, the servers in the order given; one
// that cannot be asked is reported and the others are still listed.
int RunPrinters(const std::vector<std::string>& servers) {
  if (const std::string refused = ServersRefused(servers); !refused.empty()) {
    std::fprintf(stderr, "%s\n", refused.c_str());
    return kExitUsage;
  }
  bool listed = true;
  if (servers.empty()) {
    listed = ListPrinters("", "");
  }
  std::vector<std::string> done;
  for (const std::string& server : servers) {
    if (std::find(done.begin(), done.end(), server) == done.end()) {
      done.push_back(server);
      listed = ListPrinters(server, server + "/") && listed;
    }
  }
  return std::fflush(stdout) == 0 && listed ? kExitOk : kExitListFailed;
}

}  // namespace

void AddPrintersCommand(CLI::App& app, int& exitCode) {
  CLI::App* command = app.add_subcommand(
      "printers",
      "List the installed printers, one device name per line; the default one is "
      "followed by a tab and \"default\"");
  auto servers = std::make_shared<std::vector<std::string>>();
  AddServerOption(*command, *servers);
  command->callback([servers, &exitCode] { exitCode = RunPrinters(*servers); });
}

}  // namespace quorvel::cli
