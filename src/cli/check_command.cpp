#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "cli/cli_messages.h"
#include "cli/commands.h"
#include "cli/fleet_run.h"
#include "cli/job_wait.h"
#include "cli/option_words.h"
#include "platform/command_line/command_line.h"
#include "printing/check_report.h"
#include "printing/printer_check.h"
#include "printing/road_worker.h"
#include "printing/target.h"

namespace quorvel::cli {
namespace {

struct CheckOptions {
  FleetChoice choice;
  RoadOptions asked;
  SnmpChoice snmp;
};

// One printer (--to's target, --printer's name, or else the default printer) is a run of one
// through the same worker as a run over many; the report is the single printer's.
RoadTrace CheckOne(const FleetChoice& choice, const RoadOptions& asked) {
  const std::vector<std::string> chosen = ChosenPrinters(choice);
  RoadWorker worker(platform::SystemPrinters(), !choice.targets.empty(),
                    RoadTask{FleetTask::kCheck, nullptr, std::nullopt, asked});
  std::optional<JobRef> job;
  worker.Run(chosen.empty() ? "" : chosen.front(), job);
  return worker.Trace();
}

// The printer name the user gave; nothing for the default printer.
std::optional<std::string> TypedName(const FleetChoice& choice) {
  return choice.printers.empty() ? std::nullopt
                                 : std::optional<std::string>(choice.printers.front());
}

int RunCheck(CheckOptions& options) {
  TakeServerNames(options.choice);
  if (const std::optional<std::string> refusal =
          DeviceQuestionRefusal(options.asked.pjl, options.snmp, options.choice.targets)) {
    std::fprintf(stderr, "quorvel-cli check: %s\n", refusal->c_str());
    return kExitUsage;
  }
  options.asked.snmp = options.snmp.Options();
  options.asked.stopped = &StopRequested;
  if (options.choice.Many() || options.choice.format == "junit") {
    try {
      const RoadTask task{FleetTask::kCheck, nullptr, std::nullopt, options.asked};
      if (!options.choice.servers.empty()) {
        return RunServersCommand(options.choice, task);
      }
      const bool direct = !options.choice.targets.empty();
      const auto makeWorker = [direct, task] {
        return std::make_unique<RoadWorker>(platform::SystemPrinters(), direct, task);
      };
      return RunFleetCommand(options.choice, makeWorker, nullptr, std::nullopt);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "quorvel-cli: the printers could not be listed.\n%s\n", e.what());
      return kExitSendFailed;
    }
  }
  RoadTrace checked;
  try {
    // Ctrl-C cuts the wait for the printer's own answer short and the report says so, instead
    // of ending the program.
    std::optional<InterruptiblePacer> interruptible;
    if (options.asked.pjl || options.asked.snmp) {
      interruptible.emplace();
    }
    checked = CheckOne(options.choice, options.asked);
  } catch (const std::exception& e) {
    checked.checkFailure = e.what();
  }
  if (!checked.status) {
    std::fprintf(stderr, "quorvel-cli: the printer could not be checked.\n%s\n",
                 checked.checkFailure.c_str());
    return kExitSendFailed;
  }
  const PrinterStatus& status = *checked.status;
  std::string name = checked.shownName;
  if (name.empty()) {
    name = "(no default printer)";  // no --printer, and the user has no default
  }
  const FleetOutcome outcome = OutcomeOf(AssessPrinter(status));
  const std::string report = options.choice.format == "json" ? FormatCheckJson(name, status)
                                                             : FormatCheckText(name, status);
  std::fputs(report.c_str(), stdout);
  std::fflush(stdout);
  // The report says "no such printer" once; standard error adds what was typed and the names
  // nearest to it (a target addressed outright has none).
  if (outcome == FleetOutcome::kNotRecognized && options.choice.targets.empty()) {
    std::fprintf(stderr, "%s\n", NotRecognizedHint(TypedName(options.choice)).c_str());
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
      ->check(OneOf({"text", "json", "junit"}));
  command->add_flag("--pjl", options->asked.pjl,
                    "Raw ports: also ask the printer @PJL INFO ID and INFO STATUS");
  AddSnmpOptions(*command, options->snmp);
  command->callback([options, &exitCode] { exitCode = RunCheck(*options); });
}

}  // namespace quorvel::cli
