#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/fleet_run.h"
#include "common/messages.h"
#include "platform/command_line/command_line.h"
#include "printing/check_report.h"
#include "printing/printer_check.h"
#include "printing/target.h"

namespace quorvel::cli {
namespace {

struct CheckOptions {
  FleetChoice choice;
  RoadOptions asked;
  SnmpChoice snmp;
};

// One printer: --to's target, --printer's name, or else the default printer, each asked on its
// kind's road.
PrinterStatus CheckOne(const FleetChoice& choice, const RoadOptions& asked, std::string& name) {
  const bool direct = !choice.targets.empty();
  name = direct ? choice.targets.front() : (choice.printers.empty() ? "" : choice.printers.front());
  const std::unique_ptr<TargetRoad> road =
      MakeRoad(KindOf(name, direct), platform::SystemPrinters(), asked);
  if (!direct && choice.printerOption->count() == 0) {
    name = road->DefaultPrinter();
  }
  name = road->DisplayName(name);
  return road->Check(name);
}

int RunCheck(CheckOptions& options) {
  if (const std::optional<std::string> refusal =
          DeviceQuestionRefusal(options.asked.pjl, options.snmp, options.choice.targets)) {
    std::fprintf(stderr, "quorvel-cli check: %s\n", refusal->c_str());
    return kExitUsage;
  }
  options.asked.snmp = options.snmp.Options();
  if (options.choice.Many() || options.choice.format == "junit") {
    try {
      if (!options.choice.servers.empty()) {
        return RunServersCommand(options.choice, FleetTask::kCheck, nullptr, std::nullopt);
      }
      const bool direct = !options.choice.targets.empty();
      const RoadOptions asked = options.asked;
      const auto makeWorker = [direct, asked] {
        return std::make_unique<RoadWorker>(platform::SystemPrinters(), direct, FleetTask::kCheck,
                                            nullptr, std::nullopt, nullptr, asked);
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
    status = CheckOne(options.choice, options.asked, name);
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
  command
      ->add_option("--format", options->choice.format,
                   "text (default), json, or junit (JUnit XML, a test suite per print server)")
      ->check(CLI::IsMember({"text", "json", "junit"}));
  command->add_flag("--pjl", options->asked.pjl,
                    "Raw ports: also ask the printer @PJL INFO ID and INFO STATUS");
  AddSnmpOptions(*command, options->snmp);
  command->callback([options, &exitCode] { exitCode = RunCheck(*options); });
}

}  // namespace quorvel::cli
