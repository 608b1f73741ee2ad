#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "app/printers.h"
#include "cli/cli_messages.h"
#include "cli/commands.h"
#include "cli/fleet_run.h"
#include "cli/job_wait.h"
#include "platform/net/direct_send.h"
#include "platform/platform.h"
#include "printing/direct_target.h"
#include "printing/print_flow.h"

namespace quorvel::cli {
namespace {

constexpr const char* kRawPortNotConfirmed =
    "the printer took every byte and closed the connection; a raw port reports nothing further.";

struct PrintOptions {
  std::string page;
  FleetChoice choice;
  std::string printer;  // with one printer: --printer's name
  std::string to;       // with one printer: HOST[:PORT] (a raw port) or ipp://HOST[:PORT]/PATH
  CLI::Option* waitOption = nullptr;
  std::string wait;  // seconds; empty with a bare --wait
  CLI::Option* formatOption = nullptr;
};

int ExitStatusFor(PrintOutcome outcome) {
  switch (outcome) {
    case PrintOutcome::kExecuted:
      return kExitOk;
    case PrintOutcome::kNotRecognized:
      return kExitNotRecognized;
    case PrintOutcome::kSendFailed:
      break;
  }
  return kExitSendFailed;
}

std::chrono::seconds WaitLimit(const PrintOptions& options) {
  return options.wait.empty() ? kDefaultWait : std::chrono::seconds(std::stoi(options.wait));
}

// After "Executed", with --wait, the job is followed to its end on the spooler's connection.
int Finish(const PrintOptions& options, PrintOutcome outcome, Spooler& spooler,
           JobTracker& tracker) {
  if (outcome != PrintOutcome::kExecuted || options.waitOption->count() == 0) {
    return ExitStatusFor(outcome);
  }
  return WaitForJob(tracker, spooler.SubmittedJob(), WaitLimit(options));
}

// A raw port has no job to ask about: the printer taking every byte and closing the connection
// is all it says.
int PrintToPort(const PrintOptions& options, StreamMessageDisplay& messages) {
  const PrintOutcome outcome = net::SendTestPageTo(
      *net::ParseEndpoint(options.to, net::kRawPrintPort), ComposerFor(options.page), messages);
  if (outcome != PrintOutcome::kExecuted || options.waitOption->count() == 0) {
    return ExitStatusFor(outcome);
  }
  std::fprintf(stderr, "Not confirmed: %s\n", kRawPortNotConfirmed);
  return kExitNotConfirmed;
}

int PrintToIpp(const PrintOptions& options, StreamMessageDisplay& messages) {
  const platform::IppRoute route = platform::MakeIppRoute();
  const PrintOutcome outcome =
      PrintTestPageTo(options.to, *route.spooler, ComposerFor(options.page), messages);
  return Finish(options, outcome, *route.spooler, *route.tracker);
}

// The buttons' road without reading the whole list: the name given with --printer (or else
// the default printer's) is "typed" into the combo box, and the flow looks that one name up.
int PrintToQueue(const PrintOptions& options, StreamMessageDisplay& messages) {
  const std::unique_ptr<PrinterList> list = platform::MakePrinterList();
  const std::unique_ptr<Spooler> spooler = platform::MakeSpooler();
  const std::unique_ptr<JobTracker> tracker = platform::MakeJobTracker();
  Printers printers(*list);
  TextComboBox combo;
  combo.Type(options.choice.printerOption->count() > 0 ? options.printer
                                                       : printers.Current().value_or(""));
  const PrintOutcome outcome =
      PrintTestPage({printers, combo, *spooler, messages}, ComposerFor(options.page));
  return Finish(options, outcome, *spooler, *tracker);
}

// Many printers: each gets its job through the flow above, on a worker of its own.
class QueueWorker : public FleetWorker {
 public:
  explicit QueueWorker(PageComposer composer)
      : list_(platform::MakePrinterList()),
        spooler_(platform::MakeSpooler()),
        printers_(*list_),
        composer_(composer) {}

  PrinterResult Run(const std::string& printer, std::optional<JobRef>& job) override {
    PrinterResult result = SendOne(printer, [&](MessageDisplay& messages) {
      TextComboBox combo;
      combo.Type(printer);
      return PrintTestPage({printers_, combo, *spooler_, messages}, composer_);
    });
    if (result.outcome == FleetOutcome::kExecuted) {
      job = spooler_->SubmittedJob();
      result.jobId = job ? job->id : 0;
    }
    return result;
  }

 private:
  std::unique_ptr<PrinterList> list_;
  std::unique_ptr<Spooler> spooler_;
  Printers printers_;
  PageComposer composer_;
};

// Raw ports tell nothing after the last byte; IPP printers are followed each on its own
// connection, by the worker that sent the job.
class TargetWorker : public FleetWorker {
 public:
  TargetWorker(PageComposer composer, std::optional<std::chrono::seconds> wait)
      : composer_(composer), wait_(wait) {}

  PrinterResult Run(const std::string& target, std::optional<JobRef>& /*job*/) override {
    if (!IsIppUri(target)) {
      PrinterResult result = SendOne(target, [&](MessageDisplay& messages) {
        return net::SendTestPageTo(*net::ParseEndpoint(target, net::kRawPrintPort), composer_,
                                   messages);
      });
      if (wait_ && result.outcome == FleetOutcome::kExecuted) {
        result.outcome = FleetOutcome::kNotConfirmed;
        result.detail = kRawPortNotConfirmed;
      }
      return result;
    }
    std::optional<platform::IppRoute> route;
    PrinterResult result = SendOne(target, [&](MessageDisplay& messages) {
      route = platform::MakeIppRoute();
      return PrintTestPageTo(target, *route->spooler, composer_, messages);
    });
    if (result.outcome == FleetOutcome::kExecuted) {
      Follow(*route, result);
    }
    return result;
  }

 private:
  void Follow(platform::IppRoute& route, PrinterResult& result) {
    const std::optional<JobRef> job = route.spooler->SubmittedJob();
    result.jobId = job ? job->id : 0;
    if (!wait_ || !job) {
      return;
    }
    WorkerPacer pacer;
    const FollowResult followed = FollowJob(*route.tracker, *job, *wait_, pacer);
    result.elapsed += pacer.Elapsed();
    result.outcome = OutcomeOf(followed.verdict);
    if (followed.verdict != JobVerdict::kPrinted) {
      result.detail = JoinedLines(DescribeFollowResult(*job, followed));
    }
  }

  PageComposer composer_;
  std::optional<std::chrono::seconds> wait_;
};

int PrintMany(const PrintOptions& options) {
  const PageComposer composer = ComposerFor(options.page);
  std::optional<std::chrono::seconds> wait;
  if (options.waitOption->count() > 0) {
    wait = WaitLimit(options);
  }
  if (!options.choice.targets.empty()) {
    return RunFleetCommand(
        options.choice, [=] { return std::make_unique<TargetWorker>(composer, wait); }, nullptr,
        wait);
  }
  const std::unique_ptr<JobTracker> tracker = platform::MakeJobTracker();
  return RunFleetCommand(
      options.choice, [=] { return std::make_unique<QueueWorker>(composer); }, tracker.get(), wait);
}

int RunPrint(PrintOptions& options) {
  StreamMessageDisplay messages;
  try {
    if (options.choice.Many() || options.formatOption->count() > 0) {
      return PrintMany(options);
    }
    options.printer = options.choice.printers.empty() ? "" : options.choice.printers.front();
    options.to = options.choice.targets.empty() ? "" : options.choice.targets.front();
    if (IsIppUri(options.to)) {
      return PrintToIpp(options, messages);
    }
    if (!options.to.empty()) {
      return PrintToPort(options, messages);
    }
    return PrintToQueue(options, messages);
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
  AddPageArgument(*command, options->page);
  AddFleetOptions(*command, options->choice);
  options->formatOption =
      command
          ->add_option("--format", options->choice.format,
                       "The report of a run over several printers: text (default) or json")
          ->check(CLI::IsMember({"text", "json"}));
  options->waitOption =
      command
          ->add_option("--wait", options->wait,
                       "Follow the job until the spooler reports it printed or failed, at most "
                       "SECONDS (60)")
          ->expected(0, 1)
          ->check(CLI::Range(0, 86400));
  command->callback([options, &exitCode] { exitCode = RunPrint(*options); });
}

}  // namespace quorvel::cli
