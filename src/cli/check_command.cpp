#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "printing/check_report.h"
#include "cli/commands.h"
#include "cli/fleet_run.h"
#include "cli/printer_access.h"
#include "common/messages.h"
#include "printing/printer_check.h"
#include "printing/target.h"

namespace quorvel::cli {
namespace {

struct CheckOptions {
  FleetChoice choice;
};

// One printer: --to's target, --printer's name, or else the default printer, each asked on its
// kind's road.
PrinterStatus CheckOne(const FleetChoice& choice, std::string& name) {
  const bool direct = !choice.targets.empty();
  name = direct ? choice.targets.front() : (choice.printers.empty() ? "" : choice.printers.front());
  const std::unique_ptr<TargetRoad> road = MakeRoad(KindOf(name, direct), SystemPrinters());
  if (!direct && choice.printerOption->count() == 0) {
    name = road->DefaultPrinter();
  }
  name = road->DisplayName(name);
  return road->Check(name);
}

int RunCheck(CheckOptions& options) {
  if (options.choice.Many()) {
    try {
      const bool direct = !options.choice.targets.empty();
      const auto makeWorker = [direct] {
        return std::make_unique<RoadWorker>(SystemPrinters(), direct, FleetTask::kCheck, nullptr,
                                            std::nullopt, nullptr);
      };
      return RunFleetCommand(options.choice, makeWorker, nullptr, std::nullopt);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "quorvel-cli: the printers could not be listed.\n%s\n", e.what());
      return kExitSendFailed;
    }
  }
  std::string name;
  PrinterStatus status;
  try {
    status = CheckOne(options.choice, name);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quorvel-cli: the printer could not be checked.\n%s\n", e.what());
    return kExitSendFailed;
  }
  if (name.empty()) {
    name = "(no default printer)";  // no --printer, and the user has no default
  }
  const FleetOutcome outcome = OutcomeOf(AssessPrinter(status));
  const std::string report = options.choice.format == "json" ? FormatCheckJson(name, status)
                                                             : FormatCheckText(name, status);
  std::fputs(report.c_str(), stdout);
  std::fflush(stdout);
  if (outcome == FleetOutcome::kNotRecognized) {
    std::fprintf(stderr, "%s\n", std::string(kNotRecognized).c_str());
  }
  return ExitStatusOf(outcome);
}

}  // namespace

void AddCheckCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<CheckOptions>();
  CLI::App* command = app.add_subcommand(
      "check", "Say whether a raw test job can reach a printer unchanged, and if not, why");
  AddFleetOptions(*command, options->choice);
  command->add_option("--format", options->choice.format, "text (default) or json")
      ->check(CLI::IsMember({"text", "json"}));
  command->callback([options, &exitCode] { exitCode = RunCheck(*options); });
}

}  // namespace quorvel::cli
