#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "cli/cli_messages.h"
#include "cli/commands.h"
#include "cli/fleet_run.h"
#include "cli/job_wait.h"
#include "platform/command_line/command_line.h"
#include "printing/pjl.h"
#include "printing/target.h"

namespace quorvel::cli {
namespace {

struct PrintOptions {
  std::string page;
  FleetChoice choice;
  CLI::Option* waitOption = nullptr;
  std::string wait;  // seconds; empty with a bare --wait
  CLI::Option* formatOption = nullptr;
  bool pjl = false;
  SnmpChoice snmp;
};

// The printer's own answers the road asks for; their wait is --wait's, else the default.
RoadOptions AskedOf(const PrintOptions& options);

std::chrono::seconds WaitLimit(const PrintOptions& options) {
  return options.wait.empty() ? kDefaultWait : std::chrono::seconds(std::stoi(options.wait));
}

RoadOptions AskedOf(const PrintOptions& options) {
  RoadOptions asked;
  asked.pjl = options.pjl;
  asked.wait = WaitLimit(options);
  asked.snmp = options.snmp.Options();
  asked.choosePage = options.page == "auto";
  asked.makePacer = [] { return std::make_unique<WorkerPacer>(); };
  return asked;
}

// The printer's own verdict, told as a follow-up's is: "Printed" on standard output, else why.
int TellConfirmation(const std::optional<DeviceVerdict>& verdict) {
  const FleetOutcome outcome = verdict ? OutcomeOf(verdict->verdict) : FleetOutcome::kNotConfirmed;
  const std::string detail = verdict ? verdict->detail : "the printer said nothing";
  const std::string source = verdict ? " (" + verdict->source + ")" : "";
  switch (outcome) {
    case FleetOutcome::kPrinted:
      std::printf("Printed%s: %s\n", source.c_str(), detail.c_str());
      break;
    case FleetOutcome::kNotPrinted:
      std::fprintf(stderr, "Not printed%s: %s.\n", source.c_str(), detail.c_str());
      break;
    default:
      std::fprintf(stderr, "Not confirmed%s: %s.\n", source.c_str(), detail.c_str());
      break;
  }
  std::fflush(stdout);
  return ExitStatusOf(outcome);
}

// One printer: --to's target, --printer's name, or else the default printer, each on its
// kind's road. After "Executed", with --wait, the job is followed to its end.
int PrintOne(const PrintOptions& options, StreamMessageDisplay& messages) {
  const FleetChoice& choice = options.choice;
  const bool direct = !choice.targets.empty();
  std::string name =
      direct ? choice.targets.front() : (choice.printers.empty() ? "" : choice.printers.front());
  const std::unique_ptr<TargetRoad> road =
      MakeRoad(KindOf(name, direct), platform::SystemPrinters(), AskedOf(options));
  if (!direct && choice.printerOption->count() == 0) {
    name = road->DefaultPrinter();
  }
  PageComposer composer = options.page == "auto" ? nullptr : ComposerFor(options.page);
  if (!composer) {
    std::string why;
    const std::optional<PageChoice> choice = ChoosePage(*road, name, why);
    if (!choice) {
      std::fprintf(stderr, "quorvel-cli print: %s\n", why.c_str());
      return kExitUsage;
    }
    std::fprintf(stderr, "quorvel-cli print: %s\n", choice->reason.c_str());
    if (options.pjl && choice->page == "dot-matrix") {
      std::fprintf(stderr, "quorvel-cli print: --pjl: %s\n",
                   std::string(kPjlNotForDotMatrix).c_str());
      return kExitUsage;
    }
    composer = ComposerOfPage(choice->page);
  }
  const PrintOutcome outcome = road->Send(name, composer, messages);
  if (outcome == PrintOutcome::kExecuted && road->FollowedBy() == TargetRoad::Follower::kDevice) {
    return TellConfirmation(road->DeviceConfirmation());
  }
  if (outcome != PrintOutcome::kExecuted || options.waitOption->count() == 0) {
    return ExitStatusOf(OutcomeOf(outcome));
  }
  if (road->FollowedBy() == TargetRoad::Follower::kNobody) {
    std::fprintf(stderr, "Not confirmed: %s\n", kRawPortNotConfirmed);
    return kExitNotConfirmed;
  }
  return WaitForJob(*road->Tracker(), road->SubmittedJob(), WaitLimit(options));
}

// Many printers: each on a worker of its own; a queue's jobs are followed together by the run.
int PrintMany(const PrintOptions& options) {
  const PageComposer composer = options.page == "auto" ? nullptr : ComposerFor(options.page);
  std::optional<std::chrono::seconds> wait;
  if (options.waitOption->count() > 0) {
    wait = WaitLimit(options);
  }
  if (!options.choice.servers.empty()) {
    return RunServersCommand(options.choice, FleetTask::kPrint, composer, wait);
  }
  const bool direct = !options.choice.targets.empty();
  const RoadOptions asked = AskedOf(options);
  const auto makeWorker = [=] {
    return std::make_unique<RoadWorker>(
        platform::SystemPrinters(), direct, FleetTask::kPrint, composer, wait,
        [] { return std::make_unique<WorkerPacer>(); }, asked);
  };
  if (direct) {
    return RunFleetCommand(options.choice, makeWorker, nullptr, wait);
  }
  const std::unique_ptr<JobTracker> tracker = platform::SystemPrinters().MakeJobTracker();
  return RunFleetCommand(options.choice, makeWorker, tracker.get(), wait);
}

// Options that do not go together, said before anything is sent; nothing when they do.
std::optional<std::string> Refusal(const PrintOptions& options) {
  if (options.pjl && options.page == "dot-matrix") {
    return "--pjl: " + std::string(kPjlNotForDotMatrix);
  }
  return DeviceQuestionRefusal(options.pjl, options.snmp, options.choice.targets);
}

int RunPrint(PrintOptions& options) {
  if (const std::optional<std::string> refusal = Refusal(options)) {
    std::fprintf(stderr, "quorvel-cli print: %s\n", refusal->c_str());
    return kExitUsage;
  }
  StreamMessageDisplay messages;
  try {
    if (options.choice.Many() || options.formatOption->count() > 0) {
      return PrintMany(options);
    }
    return PrintOne(options, messages);
  } catch (const std::exception& e) {
    // The spooler could not be asked at all (for example no print server answers): nothing
    // was sent.
    messages.Show(std::string(kSendFailed) + "\n" + e.what());
    return kExitSendFailed;
  }
}

}  // namespace
void AddPrintCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<PrintOptions>();
  CLI::App* command = app.add_subcommand(
      "print", "Send a test page as one raw job to a printer, as the window's buttons do");
  AddPageArgument(*command, options->page, true);
  AddFleetOptions(*command, options->choice);
  options->formatOption =
      command
          ->add_option("--format", options->choice.format,
                       "The report of a run over several printers: text (default), json or "
                       "junit (JUnit XML, a test suite per print server)")
          ->check(CLI::IsMember({"text", "json", "junit"}));
  options->waitOption =
      command
          ->add_option("--wait", options->wait,
                       "Follow the job until the spooler reports it printed or failed, at most "
                       "SECONDS (60)")
          ->expected(0, 1)
          ->check(CLI::Range(0, 86400));
  command->add_flag("--pjl", options->pjl,
                    "Raw ports: send the PCL page inside a PJL job and take the printer's report "
                    "of its end (pages printed) as the verdict");
  AddSnmpOptions(*command, options->snmp);
  command->callback([options, &exitCode] { exitCode = RunPrint(*options); });
}

}  // namespace quorvel::cli
