#include "cli/fleet_run.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <map>
#include <memory>
#include <set>

#include "cli/commands.h"
#include "cli/job_wait.h"
#include "cli/option_words.h"
#include "common/json_text.h"
#include "platform/command_line/command_line.h"
#include "platform/net/socket.h"
#include "printing/fleet_report.h"
#include "printing/servers.h"

namespace quorvel::cli {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Lines on standard output as printers finish; on a terminal, a progress bar on standard error
// that each line clears first and draws again after.
class TextSink : public FleetSink {
 public:
  explicit TextSink(platform::ProgressConsole console)
      : bar_(console.terminal), erases_(console.erasesLines) {}

  void Finished(const PrinterResult& result) override {
    Clear();
    std::printf("%s\n", FleetLine(result).c_str());
    std::fflush(stdout);
  }
  void Progress(std::size_t done, std::size_t total) override {
    if (!bar_) {
      return;
    }
    std::fputs(ProgressBar(done, total).c_str(), stderr);
    std::fflush(stderr);
    shown_ = true;
  }
  void Clear() {
    if (shown_) {
      std::fputs(ProgressBarErase(erases_).c_str(), stderr);
      std::fflush(stderr);
      shown_ = false;
    }
  }

 private:
  bool bar_;
  bool erases_;
  bool shown_ = false;
};

// One JSON document, written as printers finish: the list of printers, then the summary.
class JsonSink : public FleetSink {
 public:
  JsonSink() { std::printf("{%s[", json::Name("printers", json::kSpaced).c_str()); }
  void Finished(const PrinterResult& result) override {
    std::printf("%s\n  %s", first_ ? "" : ",", FleetJsonItem(result).c_str());
    first_ = false;
    std::fflush(stdout);
  }
  void Progress(std::size_t /*done*/, std::size_t /*total*/) override {}
  void Close(const FleetSummary& summary, milliseconds elapsed, int exitStatus) {
    std::printf(
        "%s],\n %s%s,\n %s%s}\n", first_ ? "" : "\n", json::Name("summary", json::kSpaced).c_str(),
        FleetSummaryJson(summary, elapsed).c_str(), json::Name("exitStatus", json::kSpaced).c_str(),
        json::Write(exitStatus, json::kSpaced).c_str());
    std::fflush(stdout);
  }

 private:
  bool first_ = true;
};

// The whole run as one JUnit document, written when the last printer is done: a suite per print
// server, its printers in the order the run was given them.
class JunitSink : public FleetSink {
 public:
  JunitSink(const std::vector<std::string>& printers, bool servers, std::string localServer)
      : servers_(servers), localServer_(std::move(localServer)) {
    for (std::size_t i = 0; i < printers.size(); ++i) {
      order_.emplace(printers[i], i);
    }
  }
  void Finished(const PrinterResult& result) override { results_.push_back(result); }
  void Progress(std::size_t /*done*/, std::size_t /*total*/) override {}
  void Close(const std::string& runName, milliseconds elapsed) {
    std::stable_sort(results_.begin(), results_.end(), [this](const auto& a, const auto& b) {
      return Place(a.printer) < Place(b.printer);
    });
    std::vector<JunitSuite> suites;
    for (PrinterResult result : results_) {
      std::string suite = localServer_;
      if (servers_) {
        const ServerQueue where = SplitServerQueue(result.printer);
        suite = where.server;
        result.printer = where.queue.empty() ? "(queues)" : where.queue;
      }
      if (suites.empty() || suites.back().name != suite) {
        suites.push_back({suite, {}});
      }
      suites.back().results.push_back(std::move(result));
    }
    std::fputs(FleetJunit(runName, suites, elapsed).c_str(), stdout);
    std::fflush(stdout);
  }

 private:
  std::size_t Place(const std::string& printer) const {
    const auto found = order_.find(printer);
    return found != order_.end() ? found->second : order_.size();
  }

  bool servers_;
  std::string localServer_;
  std::map<std::string, std::size_t> order_;
  std::vector<PrinterResult> results_;
};

std::vector<std::string> EachOnce(const std::vector<std::string>& names) {
  std::vector<std::string> once;
  std::set<std::string> seen;
  for (const std::string& name : names) {
    if (seen.insert(name).second) {
      once.push_back(name);
    }
  }
  return once;
}

}  // namespace

std::string ProgressBar(std::size_t done, std::size_t total) {
  const std::size_t filled = total == 0 ? kProgressBarWidth : done * kProgressBarWidth / total;
  return "\r[" + std::string(filled, '#') + std::string(kProgressBarWidth - filled, ' ') + "] " +
         std::to_string(done) + "/" + std::to_string(total);
}

std::string ProgressBarErase(bool terminalErases) {
  if (terminalErases) {
    return "\r\033[K";
  }
  // Wide enough for the bar and two counts of up to six digits each.
  return "\r" + std::string(kProgressBarWidth + 16, ' ') + "\r";
}

CLI::Option* AddServerOption(CLI::App& command, std::vector<std::string>& servers) {
  return command
      .add_option("--server", servers,
                  "A print server HOST[:PORT] (631) instead of the user's own; repeat for several. "
                  "Queues are then named SERVER/QUEUE" +
                      std::string(platform::Features().servers ? "" : " (not in this build)"))
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
      ->check(CLI::Validator(
          [](std::string& text) {
            return text.find('/') == std::string::npos && net::ParseEndpoint(text, kPrintServerPort)
                       ? ""
                       : "not HOST[:PORT]: " + text;
          },
          "HOST[:PORT]"));
}

std::string ServersRefused(const std::vector<std::string>& servers) {
  if (servers.empty()) {
    return "";
  }
  const std::string refused = Unavailable(platform::Features(), Feature::kServers);
  return refused.empty() ? "" : "quorvel-cli: " + refused;
}

void AddFleetOptions(CLI::App& command, FleetChoice& choice) {
  choice.command = command.get_name();
  choice.printerOption =
      command
          .add_option("--printer", choice.printers,
                      "The printer's device name, exactly (default: the user's default printer); "
                      "repeat for several printers")
          ->expected(1)
          ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  CLI::Option* all =
      command.add_flag("--all", choice.all, "Every printer (queue) of the print server")
          ->excludes(choice.printerOption);
  command
      .add_option("--to", choice.targets,
                  "Straight to a printer: its raw port HOST[:PORT] (9100), or an IPP printer or "
                  "queue ipp://HOST[:PORT]/PATH; repeat for several printers")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
      ->excludes(choice.printerOption)
      ->excludes(all)
      ->check(CLI::Validator(
          [](std::string& text) {
            return IsIppUri(text) || net::ParseEndpoint(text, net::kRawPrintPort)
                       ? ""
                       : "not HOST[:PORT] or ipp://HOST[:PORT]/PATH: " + text;
          },
          "HOST[:PORT]|ipp://..."));
  AddServerOption(command, choice.servers)->excludes("--to");
  command
      .add_option("--jobs", choice.jobs,
                  "With several printers: how many are worked on at once (8)")
      ->check(WholeNumber(1, 256, "how many printers at once"));
}

std::vector<std::string> ChosenPrinters(const FleetChoice& choice) {
  if (!choice.all && choice.printers.empty() && choice.targets.empty()) {
    // No printer named: the user's default one, as for a single printer.
    const std::string name =
        MakeRoad(TargetKind::kQueue, platform::SystemPrinters())->DefaultPrinter();
    return name.empty() ? std::vector<std::string>{} : std::vector<std::string>{name};
  }
  if (!choice.all) {
    return EachOnce(choice.targets.empty() ? choice.printers : choice.targets);
  }
  return EachOnce(platform::EveryQueue());
}

namespace {

// Runs the workers over `printers` and reports in the chosen format.
int RunOver(const std::vector<std::string>& printers, const FleetChoice& choice,
            const WorkerFactory& makeWorker, JobTracker* tracker,
            std::optional<std::chrono::seconds> wait) {
  if (printers.empty()) {
    const bool named = choice.all || !choice.printers.empty() || !choice.targets.empty();
    std::fprintf(stderr, !named ? "quorvel-cli: no printer was named and the user has no default.\n"
                         : choice.servers.empty()
                             ? "quorvel-cli: the print server has no printers.\n"
                             : "quorvel-cli: the print servers have no printers.\n");
    return kExitNotRecognized;
  }
  const Clock::time_point start = Clock::now();
  InterruptiblePacer pacer;
  TextSink text(platform::StandardErrorConsole());
  std::unique_ptr<JsonSink> json;
  std::unique_ptr<JunitSink> junit;
  if (choice.format == "json") {
    json = std::make_unique<JsonSink>();
  } else if (choice.format == "junit") {
    junit = std::make_unique<JunitSink>(printers, !choice.servers.empty(),
                                        choice.servers.empty() ? platform::LocalServerName() : "");
  }
  FleetSink& sink = json    ? static_cast<FleetSink&>(*json)
                    : junit ? static_cast<FleetSink&>(*junit)
                            : text;
  const FleetSummary summary =
      RunFleet(printers, {choice.jobs, wait, &StopRequested}, makeWorker, tracker, pacer, sink);
  const auto elapsed = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
  const int status = ExitStatusOf(summary.worst);
  if (json) {
    json->Close(summary, elapsed, status);
  } else if (junit) {
    junit->Close("quorvel-cli " + choice.command, elapsed);
  } else {
    text.Clear();
    std::printf("%s\n", FleetSummaryLine(summary, elapsed).c_str());
    std::fflush(stdout);
  }
  return status;
}

// The server given whose SERVER/QUEUE `printer` already is (as `printers --server` lists it);
// empty when it names none of them.
std::string GivenServerOf(const std::string& printer, const std::vector<std::string>& servers) {
  for (const std::string& server : servers) {
    if (printer.size() > server.size() + 1 && printer.compare(0, server.size(), server) == 0 &&
        printer[server.size()] == '/') {
      return server;
    }
  }
  return "";
}

// Each server's queues, or for a server that cannot be asked, the server itself with the reason.
// A --printer name that is already SERVER/QUEUE of a server given is that queue alone.
std::vector<std::string> ServerQueues(const FleetChoice& choice, ServerFailures& unreachable) {
  std::vector<std::string> names;
  for (const std::string& server : EachOnce(choice.servers)) {
    if (!choice.all) {
      for (const std::string& printer : EachOnce(choice.printers)) {
        const std::string owner = GivenServerOf(printer, choice.servers);
        if (owner.empty()) {
          names.push_back(ServerQueueName(server, printer));
        } else if (owner == server) {
          names.push_back(printer);
        }
      }
      continue;
    }
    try {
      for (const std::string& queue :
           platform::ServerPrinters(server).MakePrinterList()->DeviceNames()) {
        names.push_back(ServerQueueName(server, queue));
      }
    } catch (const std::exception& e) {
      unreachable[server] = e.what();
      names.push_back(server);
    }
  }
  return names;
}

}  // namespace

void TakeServerNames(FleetChoice& choice) {
  if (!choice.servers.empty() || choice.printers.empty() || !platform::Features().servers) {
    return;
  }
  std::vector<std::string> servers;
  for (const std::string& printer : choice.printers) {
    const ServerQueue where = SplitServerQueue(printer);
    if (where.queue.empty() || !net::ParseEndpoint(where.server, kPrintServerPort)) {
      return;  // a queue of the user's own server
    }
    servers.push_back(where.server);
  }
  std::vector<std::string> ownQueues;
  try {
    ownQueues = platform::EveryQueue();
  } catch (const std::exception&) {
    // The user's own server does not answer: no QUEUE/INSTANCE can be meant.
  }
  for (const std::string& server : servers) {
    if (std::find(ownQueues.begin(), ownQueues.end(), server) != ownQueues.end()) {
      return;  // QUEUE/INSTANCE, an instance of the user's own queue
    }
  }
  choice.servers = EachOnce(servers);
}

int RunFleetCommand(const FleetChoice& choice, const WorkerFactory& makeWorker, JobTracker* tracker,
                    std::optional<std::chrono::seconds> wait) {
  return RunOver(ChosenPrinters(choice), choice, makeWorker, tracker, wait);
}

int RunServersCommand(const FleetChoice& choice, const RoadTask& task) {
  if (const std::string refused = ServersRefused(choice.servers); !refused.empty()) {
    std::fprintf(stderr, "%s\n", refused.c_str());
    return kExitUsage;
  }
  if (!choice.all && choice.printers.empty()) {
    std::fprintf(stderr,
                 "quorvel-cli: with --server, name the queues with --printer or take them all "
                 "with --all.\n");
    return kExitUsage;
  }
  ServerFailures unreachable;
  const std::vector<std::string> printers = ServerQueues(choice, unreachable);
  const auto makeWorker = [&] {
    return std::make_unique<ServersWorker>(&platform::ServerPrinters, task, unreachable);
  };
  ServersTracker tracker(
      [](const std::string& server) { return platform::ServerPrinters(server).MakeJobTracker(); });
  return RunOver(printers, choice, makeWorker, &tracker, task.wait);
}

}  // namespace quorvel::cli
