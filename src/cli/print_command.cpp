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
#include "pages/page.h"
#include "platform/command_line/command_line.h"
#include "printing/pjl.h"
#include "printing/road_worker.h"
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

std::chrono::seconds WaitLimit(const PrintOptions& options) {
  return options.wait.empty() ? kDefaultWait : std::chrono::seconds(std::stoi(options.wait));
}

// What each printer is sent and asked: the same for one printer, many, and many servers.
RoadTask TaskOf(const PrintOptions& options) {
  RoadTask task;
  task.task = FleetTask::kPrint;
  const Page* page = PageNamed(options.page);
  task.composer = page != nullptr ? page->compose : nullptr;
  if (options.waitOption->count() > 0) {
    task.wait = WaitLimit(options);
  }
  task.road.pjl = options.pjl;
  task.road.wait = WaitLimit(options);
  task.road.snmp = options.snmp.Options();
  task.road.choosePage = page == nullptr;
  task.road.makePacer = [] { return std::make_unique<WorkerPacer>(); };
  task.road.stopped = &StopRequested;
  return task;
}

// The printer's own verdict, told as a follow-up's is: "Printed" on standard output, else why.
int TellConfirmation(const PrinterResult& result) {
  const std::string source = result.confirmedBy.empty() ? "" : " (" + result.confirmedBy + ")";
  int status = ExitStatusOf(result.outcome);
  switch (result.outcome) {
    case FleetOutcome::kPrinted:
      std::printf("Printed%s: %s\n", source.c_str(), result.detail.c_str());
      break;
    case FleetOutcome::kNotPrinted:
      std::fprintf(stderr, "Not printed%s: %s.\n", source.c_str(), result.detail.c_str());
      break;
    default:
      std::fprintf(stderr, "Not confirmed%s: %s.\n", source.c_str(),
                   result.confirmedBy.empty() ? "the printer said nothing" : result.detail.c_str());
      status = kExitNotConfirmed;
      break;
  }
  std::fflush(stdout);
  return status;
}

// After the send, in the single printer's words: the printer's own verdict, or the follow-up
// the worker made, or the print server's, or why nobody can confirm the job.
int TellFollowUp(const PrintOptions& options, const PrinterResult& result, const RoadTrace& trace,
                 const std::optional<JobRef>& job) {
  if (trace.follower == TargetRoad::Follower::kDevice) {
    return TellConfirmation(result);
  }
  if (options.waitOption->count() == 0) {
    return ExitStatusOf(result.outcome);
  }
  switch (trace.follower) {
    case TargetRoad::Follower::kNobody:
      std::fprintf(stderr, "Not confirmed: %s\n", kRawPortNotConfirmed);
      return kExitNotConfirmed;
    case TargetRoad::Follower::kRun:
      return WaitForJob(*platform::SystemPrinters().MakeJobTracker(), job, WaitLimit(options));
    default:
      return trace.follow ? TellFollowResult(trace.job, *trace.follow)
                          : TellFollowResult(std::nullopt, {});
  }
}

// One printer (--to's target, --printer's name, or else the default printer) is a run of one
// through the same worker as a run over many; only the words are the single printer's.
int PrintOne(const PrintOptions& options, StreamMessageDisplay& messages) {
  const std::vector<std::string> chosen = ChosenPrinters(options.choice);
  const std::string name = chosen.empty() ? "" : chosen.front();
  if (options.choice.targets.empty()) {
    messages.HintFor(options.choice.printers.empty() ? std::nullopt
                                                     : std::optional<std::string>(name));
  }
  RoadWorker worker(platform::SystemPrinters(), !options.choice.targets.empty(), TaskOf(options));
  worker.TellAlso(messages, [](const PageChoice& choice) {
    std::fprintf(stderr, "quorvel-cli print: %s\n", choice.reason.c_str());
  });
  std::optional<JobRef> job;
  PrinterResult result;
  {
    // Ctrl-C cuts the worker's own follow-up, or its wait for the printer's word, short
    // instead of ending the program.
    std::optional<InterruptiblePacer> interruptible;
    if (options.waitOption->count() > 0 || options.pjl || options.snmp.Options().has_value()) {
      interruptible.emplace();
    }
    result = worker.Run(name, job);
  }
  const RoadTrace& trace = worker.Trace();
  if (result.outcome == FleetOutcome::kRefused) {
    std::fprintf(stderr, "quorvel-cli print: %s\n", result.detail.c_str());
    return ExitStatusOf(result.outcome);
  }
  if (!trace.executed) {
    return ExitStatusOf(result.outcome);
  }
  return TellFollowUp(options, result, trace, job);
}

// Many printers: each on a worker of its own; a queue's jobs are followed together by the run.
int PrintMany(const PrintOptions& options) {
  const RoadTask task = TaskOf(options);
  if (!options.choice.servers.empty()) {
    return RunServersCommand(options.choice, task);
  }
  const bool direct = !options.choice.targets.empty();
  const auto makeWorker = [=] {
    return std::make_unique<RoadWorker>(platform::SystemPrinters(), direct, task);
  };
  if (direct) {
    return RunFleetCommand(options.choice, makeWorker, nullptr, task.wait);
  }
  const std::unique_ptr<JobTracker> tracker = platform::SystemPrinters().MakeJobTracker();
  return RunFleetCommand(options.choice, makeWorker, tracker.get(), task.wait);
}

// Options that do not go together, said before anything is sent; nothing when they do.
std::optional<std::string> Refusal(const PrintOptions& options) {
  if (options.pjl && options.page == PageOf(PageKind::kDotMatrix).name) {
    return "--pjl: " + std::string(kPjlNotForDotMatrix);
  }
  return DeviceQuestionRefusal(options.pjl, options.snmp, options.choice.targets);
}

int RunPrint(PrintOptions& options) {
  TakeServerNames(options.choice);
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
          ->check(OneOf({"text", "json", "junit"}));
  options->waitOption =
      command
          ->add_option("--wait", options->wait,
                       "Follow the job until the spooler reports it printed or failed, at most "
                       "SECONDS (" +
                           std::to_string(kDefaultWait.count()) + ")")
          ->expected(0, 1)
          ->option_text("[=SECONDS]")
          ->check(WholeNumber(0, 86400, "seconds"));
  command->add_flag("--pjl", options->pjl,
                    "Raw ports: send the PCL page inside a PJL job and take the printer's report "
                    "of its end (pages printed) as the verdict");
  AddSnmpOptions(*command, options->snmp);
  command->callback([options, &exitCode] { exitCode = RunPrint(*options); });
}

}  // namespace quorvel::cli
