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

/// The progress bar drawn on a terminal's standard error as printers finish, from the line's
/// start: "[####      ] 12/40".
inline constexpr std::size_t kProgressBarWidth = 30;
std::string ProgressBar(std::size_t done, std::size_t total);

/// What clears the bar before a line is printed: ESC [ K where the terminal reads it, else
/// spaces over the bar.
std::string ProgressBarErase(bool terminalErases);

/// Runs `makeWorker`'s workers over the chosen printers (following the jobs with `tracker` when
/// `wait` is set), prints a line per printer as it finishes and the summary, or one JSON
/// document, and returns the exit status: 0 when every printer succeeded, else the
/// single-printer status of the worst outcome.
int RunFleetCommand(const FleetChoice& choice, const WorkerFactory& makeWorker, JobTracker* tracker,
                    std::optional<std::chrono::seconds> wait);

}  // namespace quorvel::cli
