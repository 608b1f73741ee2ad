#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "app/printers.h"
#include "cli/cli_messages.h"
#include "cli/commands.h"
#include "cli/job_wait.h"
#include "platform/net/direct_send.h"
#include "platform/platform.h"
#include "printing/direct_target.h"
#include "printing/print_flow.h"

namespace quorvel::cli {
namespace {

struct PrintOptions {
  std::string page;
  std::string printer;
  CLI::Option* printerOption = nullptr;
  std::string to;  // HOST[:PORT] (a raw port) or ipp://HOST[:PORT]/PATH
  CLI::Option* waitOption = nullptr;
  std::string wait;  // seconds; empty with a bare --wait
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
  std::fprintf(stderr,
               "Not confirmed: the printer took every byte and closed the connection; a raw port "
               "reports nothing further.\n");
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
  combo.Type(options.printerOption->count() > 0 ? options.printer
                                                : printers.Current().value_or(""));
  const PrintOutcome outcome =
      PrintTestPage({printers, combo, *spooler, messages}, ComposerFor(options.page));
  return Finish(options, outcome, *spooler, *tracker);
}

int RunPrint(const PrintOptions& options) {
  StreamMessageDisplay messages;
  try {
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
  options->printerOption = command->add_option(
      "--printer", options->printer,
      "The printer's device name, exactly (default: the user's default printer)");
  command
      ->add_option("--to", options->to,
                   "Send straight to a printer: its raw port HOST[:PORT] (9100), or an IPP "
                   "printer or queue ipp://HOST[:PORT]/PATH")
      ->excludes(options->printerOption)
      ->check(CLI::Validator(
          [](std::string& text) {
            return IsIppUri(text) || net::ParseEndpoint(text, net::kRawPrintPort)
                       ? ""
                       : "not HOST[:PORT] or ipp://HOST[:PORT]/PATH: " + text;
          },
          "HOST[:PORT]|ipp://..."));
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
