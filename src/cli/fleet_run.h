#pragma once

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/messages.h"
#include "printing/fleet.h"
#include "printing/print_flow.h"
#include "printing/road_worker.h"
#include "printing/target.h"

namespace quorvel::cli {

/// Which printers a command works on: --printer and --to, each given once or repeated, or --all;
/// how many at once (--jobs) and how the report reads (--format).
struct FleetChoice {
  std::vector<std::string> printers;
  CLI::Option* printerOption = nullptr;
  std::vector<std::string> targets;  // --to
  std::vector<std::string> servers;  // --server, HOST[:PORT]
  bool all = false;
  std::size_t jobs = 8;
  std::string format = "text";
  std::string command;  // the subcommand's name, for the JUnit report's title

  /// More than one printer, or --all: the run goes printer by printer with a report for each.
  /// So is a run over named print servers, whose report names each queue SERVER/QUEUE.
  bool Many() const { return all || printers.size() > 1 || targets.size() > 1 || !servers.empty(); }
};

/// Adds --printer, --to, --server (all three repeatable), --all and --jobs to `command`.
void AddFleetOptions(CLI::App& command, FleetChoice& choice);

/// Adds --server (repeatable, HOST[:PORT]) to `command`: the print servers a command works on
/// instead of the user's own.
CLI::Option* AddServerOption(CLI::App& command, std::vector<std::string>& servers);

/// The print server's port when --server gives none.
inline constexpr std::uint16_t kPrintServerPort = 631;

/// Where the build cannot reach other print servers, the message that says so (and the usage
/// status is returned); empty where it can, or when no server was named.
std::string ServersRefused(const std::vector<std::string>& servers);

/// Names given back as `printers --server` lists them: when every --printer name is SERVER/QUEUE
/// (HOST[:PORT], a slash, the queue) and no --server is given, the servers named become the
/// run's --server, so that each name reaches that server's queue. A name whose part before the
/// slash is a queue of the user's own server is QUEUE/INSTANCE and stays as it is.
void TakeServerNames(FleetChoice& choice);

/// The printers the run works on: every queue of the print server for --all (CUPS instances
/// left out: they print on a queue already listed), else the names or targets given, each once,
/// else the user's default printer (none when there is no default).
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

/// The same over the print servers of --server: every queue of each (--all) or each --printer
/// name on each, reported as SERVER/QUEUE, with one connection per server and worker. A server
/// whose queues cannot be listed is one failed line; the others go on.
/// Every queue gets the whole `task`, the page chosen printer by printer and the road's options.
int RunServersCommand(const FleetChoice& choice, const RoadTask& task);

}  // namespace quorvel::cli
