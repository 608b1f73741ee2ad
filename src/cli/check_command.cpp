#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "app/printers.h"
#include "cli/check_report.h"
#include "cli/commands.h"
#include "cli/job_wait.h"
#include "common/messages.h"
#include "common/platform_error.h"
#include "platform/net/socket.h"
#include "platform/platform.h"
#include "printing/printer_check.h"

namespace quorvel::cli {
namespace {

// How long a raw port may take to accept the check's connection.
constexpr net::Milliseconds kPortConnectTimeout{5000};

struct CheckOptions {
  std::string printer;
  CLI::Option* printerOption = nullptr;
  std::string to;
  std::string format = "text";
};

// A raw port says nothing but whether it takes a connection; the connection is closed at once,
// before any byte is sent.
PrinterStatus CheckPort(const net::Endpoint& endpoint) {
  PrinterStatus status;
  status.exists = true;
  status.details.emplace_back("port", endpoint.Text());
  try {
    const net::NetworkLibrary library;
    net::Connect(endpoint, kPortConnectTimeout);
    status.state = PrinterState::kIdle;
    status.details.emplace_back("connection", "accepted");
  } catch (const PlatformError& e) {
    status.acceptingJobs = false;
    status.state = PrinterState::kStopped;
    status.message = e.Reason();
    status.details.emplace_back("connection", e.Reason());
  }
  return status;
}

// An installed printer: the exact name is the printer list's question, the rest the tracker's.
PrinterStatus CheckInstalled(const CheckOptions& options, std::string& name) {
  const std::unique_ptr<PrinterList> list = platform::MakePrinterList();
  Printers printers(*list);
  name = options.printerOption->count() > 0 ? options.printer : printers.Current().value_or("");
  if (name.empty() || !printers.IsInstalled(name)) {
    return {};
  }
  return platform::MakeJobTracker()->QueryPrinter(name);
}

PrinterStatus Check(const CheckOptions& options, std::string& name) {
  if (IsIppUri(options.to)) {
    name = options.to;
    return platform::MakeIppRoute().tracker->QueryPrinter(options.to);
  }
  if (!options.to.empty()) {
    const net::Endpoint endpoint = *net::ParseEndpoint(options.to, net::kRawPrintPort);
    name = endpoint.Text();
    return CheckPort(endpoint);
  }
  return CheckInstalled(options, name);
}

int RunCheck(const CheckOptions& options) {
  std::string name;
  PrinterStatus status;
  try {
    status = Check(options, name);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quorvel-cli: the printer could not be checked.\n%s\n", e.what());
    return kExitSendFailed;
  }
  if (name.empty()) {
    name = "(no default printer)";  // no --printer, and the user has no default
  }
  const CheckVerdict verdict = AssessPrinter(status);
  const std::string report =
      options.format == "json" ? FormatCheckJson(name, status) : FormatCheckText(name, status);
  std::fputs(report.c_str(), stdout);
  std::fflush(stdout);
  if (verdict == CheckVerdict::kNoSuchPrinter) {
    std::fprintf(stderr, "%s\n", std::string(kNotRecognized).c_str());
    return kExitNotRecognized;
  }
  return verdict == CheckVerdict::kReady ? kExitOk : kExitNotPrinted;
}

}  // namespace

void AddCheckCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<CheckOptions>();
  CLI::App* command = app.add_subcommand(
      "check", "Say whether a raw test job can reach a printer unchanged, and if not, why");
  options->printerOption = command->add_option(
      "--printer", options->printer,
      "The printer's device name, exactly (default: the user's default printer)");
  command
      ->add_option("--to", options->to,
                   "A printer's raw port HOST[:PORT] (9100), or an IPP printer or queue "
                   "ipp://HOST[:PORT]/PATH")
      ->excludes(options->printerOption)
      ->check(CLI::Validator(
          [](std::string& text) {
            return IsIppUri(text) || net::ParseEndpoint(text, net::kRawPrintPort)
                       ? ""
                       : "not HOST[:PORT] or ipp://HOST[:PORT]/PATH: " + text;
          },
          "HOST[:PORT]|ipp://..."));
  command->add_option("--format", options->format, "text (default) or json")
      ->check(CLI::IsMember({"text", "json"}));
  command->callback([options, &exitCode] { exitCode = RunCheck(*options); });
}

}  // namespace quorvel::cli
