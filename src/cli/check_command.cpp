#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "app/printer_list.h"
#include "cli/check_report.h"
#include "cli/commands.h"
#include "cli/fleet_run.h"
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
  FleetChoice choice;
  std::string printer;  // with one printer: --printer's name
  std::string to;       // with one printer: --to's target
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

// Asks whoever knows how a printer stands: an ipp:// printer itself, a raw port by taking a
// connection, an installed printer through the printer list (the exact name) and the tracker.
class PrinterChecker {
 public:
  /// `installed`: names are installed printers' rather than raw ports or ipp:// addresses.
  explicit PrinterChecker(bool installed) {
    if (installed) {
      list_ = platform::MakePrinterList();
      tracker_ = platform::MakeJobTracker();
    }
  }

  PrinterStatus Status(const std::string& printer) {
    if (IsIppUri(printer)) {
      return platform::MakeIppRoute().tracker->QueryPrinter(printer);
    }
    if (!list_) {
      return CheckPort(*net::ParseEndpoint(printer, net::kRawPrintPort));
    }
    return !printer.empty() && list_->HasDeviceName(printer) ? tracker_->QueryPrinter(printer)
                                                             : PrinterStatus{};
  }

  /// The user's default printer, for a check that names none.
  std::string DefaultPrinter() const {
    return list_ ? list_->DefaultDeviceName().value_or("") : "";
  }

 private:
  std::unique_ptr<PrinterList> list_;
  std::unique_ptr<JobTracker> tracker_;
};

// One printer: --to's target, --printer's name, or else the default printer.
PrinterStatus Check(const CheckOptions& options, std::string& name) {
  PrinterChecker checker(options.to.empty());
  if (!options.to.empty() && !IsIppUri(options.to)) {
    name = net::ParseEndpoint(options.to, net::kRawPrintPort)->Text();
  } else if (!options.to.empty()) {
    name = options.to;
  } else {
    name = options.choice.printerOption->count() > 0 ? options.printer : checker.DefaultPrinter();
  }
  return checker.Status(name);
}

FleetOutcome OutcomeOf(const PrinterStatus& status) {
  switch (AssessPrinter(status)) {
    case CheckVerdict::kReady:
      return FleetOutcome::kReady;
    case CheckVerdict::kNotReady:
      return FleetOutcome::kNotReady;
    case CheckVerdict::kNoSuchPrinter:
      break;
  }
  return FleetOutcome::kNotRecognized;
}

// Many printers: each checked as above by a worker with its own connection; the line gives
// the verdict and why not.
class CheckWorker : public FleetWorker {
 public:
  explicit CheckWorker(bool targets) : checker_(!targets) {}

  PrinterResult Run(const std::string& printer, std::optional<JobRef>& /*job*/) override {
    const auto start = std::chrono::steady_clock::now();
    PrinterResult result{printer, FleetOutcome::kFailed, 0, {}, ""};
    try {
      const PrinterStatus status = checker_.Status(printer);
      result.outcome = OutcomeOf(status);
      result.detail = JoinedLines(NotReadyReasons(status));
    } catch (const std::exception& e) {
      result.detail = std::string("the printer could not be checked: ") + e.what();
    }
    result.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    return result;
  }

 private:
  PrinterChecker checker_;
};

int RunCheck(CheckOptions& options) {
  if (options.choice.Many()) {
    try {
      const bool targets = !options.choice.targets.empty();
      return RunFleetCommand(
          options.choice, [targets] { return std::make_unique<CheckWorker>(targets); }, nullptr,
          std::nullopt);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "quorvel-cli: the printers could not be listed.\n%s\n", e.what());
      return kExitSendFailed;
    }
  }
  options.printer = options.choice.printers.empty() ? "" : options.choice.printers.front();
  options.to = options.choice.targets.empty() ? "" : options.choice.targets.front();
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
  const std::string report = options.choice.format == "json" ? FormatCheckJson(name, status)
                                                             : FormatCheckText(name, status);
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
  AddFleetOptions(*command, options->choice);
  command->add_option("--format", options->choice.format, "text (default) or json")
      ->check(CLI::IsMember({"text", "json"}));
  command->callback([options, &exitCode] { exitCode = RunCheck(*options); });
}

}  // namespace quorvel::cli
