#include <exception>
#include <memory>
#include <string>

#include "app/printers.h"
#include "cli/cli_messages.h"
#include "cli/commands.h"
#include "platform/net/direct_send.h"
#include "platform/platform.h"
#include "printing/print_flow.h"

namespace quorvel::cli {
namespace {

struct PrintOptions {
  std::string page;
  std::string printer;
  CLI::Option* printerOption = nullptr;
  std::string to;  // HOST[:PORT]: straight to a printer's raw port, no spooler
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

// The buttons' road: the list is filled and the default selected as the window does at start,
// then the name given with --printer is "typed" into the combo box, and the flow runs.
int RunPrint(const PrintOptions& options) {
  StreamMessageDisplay messages;
  if (!options.to.empty()) {
    return ExitStatusFor(net::SendTestPageTo(*net::ParseEndpoint(options.to, net::kRawPrintPort),
                                             ComposerFor(options.page), messages));
  }
  try {
    const std::unique_ptr<PrinterList> list = platform::MakePrinterList();
    const std::unique_ptr<Spooler> spooler = platform::MakeSpooler();
    Printers printers(*list);
    TextComboBox combo;
    GetPrinters(printers, combo);
    if (options.printerOption->count() > 0) {
      combo.Type(options.printer);
    }
    return ExitStatusFor(
        PrintTestPage({printers, combo, *spooler, messages}, ComposerFor(options.page)));
  } catch (const std::exception& e) {
    // The printer list itself failed (for example no print server answers): nothing was sent.
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
      ->add_option("--to", options->to, "Send straight to a printer's raw port, HOST[:PORT] (9100)")
      ->excludes(options->printerOption)
      ->check(CLI::Validator(
          [](std::string& text) {
            return net::ParseEndpoint(text, net::kRawPrintPort) ? "" : "not HOST[:PORT]: " + text;
          },
          "HOST[:PORT]"));
  command->callback([options, &exitCode] { exitCode = RunPrint(*options); });
}

}  // namespace quorvel::cli
