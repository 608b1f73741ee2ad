#pragma once

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/messages.h"
#include "printing/fleet.h"
#include "printing/print_flow.h"

namespace quorvel::cli {

/// Which printers a command works on: --printer and --to, each given once or repeated, or --all;
/// how many at once (--jobs) and how the report reads (--format).
struct FleetChoice {
  std::vector<std::string> printers;
  CLI::Option* printerOption = nullptr;
  std::vector<std::string> targets;  // --to
  bool all = false;
  std::size_t jobs = 8;
  std::string format = "text";

  /// More than one printer, or --all: the run goes printer by printer with a report for each.
  bool Many() const { return all || printers.size() > 1 || targets.size() > 1; }
};

/// Adds --printer, --to (both repeatable), --all and --jobs to `command`.
void AddFleetOptions(CLI::App& command, FleetChoice& choice);

/// The printers the run works on: every queue of the print server for --all (CUPS instances
/// left out: they print on a queue already listed), else the names or targets given, each once.
/// Throws PlatformError when the print server cannot be asked.
std::vector<std::string> ChosenPrinters(const FleetChoice& choice);

/// Collects what the single-printer flow tells the user, on one line ("text: reason").
class CollectingMessages : public MessageDisplay {
 public:
  void Show(std::string_view text) override;
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

/// The single-printer flow `send` for one printer in a run over many: what it told the user (a
/// failure's message and reason) becomes the printer's line, with the time it took. An error it
/// throws counts as "could not be sent", as for one printer.
PrinterResult SendOne(const std::string& printer,
                      const std::function<PrintOutcome(MessageDisplay&)>& send);

/// Runs `makeWorker`'s workers over the chosen printers (following the jobs with `tracker` when
/// `wait` is set), prints a line per printer as it finishes and the summary, or one JSON
/// document, and returns the exit status: 0 when every printer succeeded, else the
/// single-printer status of the worst outcome.
int RunFleetCommand(const FleetChoice& choice, const WorkerFactory& makeWorker, JobTracker* tracker,
                    std::optional<std::chrono::seconds> wait);

/// The single-printer exit status an outcome stands for.
int ExitStatusFor(FleetOutcome outcome);

}  // namespace quorvel::cli
