#include "cli/fleet_run.h"

#include <cstdio>
#include <memory>
#include <set>

#ifdef _WIN32
#include <io.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "cli/commands.h"
#include "cli/job_wait.h"
#include "common/json_text.h"
#include "platform/net/socket.h"
#include "platform/platform.h"
#include "printing/fleet_report.h"

namespace quorvel::cli {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

bool StandardErrorIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(fileno(stderr)) != 0;
#endif
}

// Whether the terminal reads ESC [ K (erase to the end of the line). A Windows console does
// once virtual-terminal processing is on (Windows 10 and later); older consoles get the bar
// overwritten with spaces instead.
bool TerminalErasesLines() {
#ifdef _WIN32
  const HANDLE console = ::GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (console == INVALID_HANDLE_VALUE || !::GetConsoleMode(console, &mode)) {
    return false;
  }
  return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
         ::SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
#else
  return true;
#endif
}

// Lines on standard output as printers finish; on a terminal, a progress bar on standard error
// that each line clears first and draws again after.
class TextSink : public FleetSink {
 public:
  TextSink() : bar_(StandardErrorIsTerminal()), erases_(bar_ && TerminalErasesLines()) {}

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

void AddFleetOptions(CLI::App& command, FleetChoice& choice) {
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
  command
      .add_option("--jobs", choice.jobs,
                  "With several printers: how many are worked on at once (8)")
      ->check(CLI::Range(1, 256));
}

std::vector<std::string> ChosenPrinters(const FleetChoice& choice) {
  if (!choice.all) {
    return EachOnce(choice.targets.empty() ? choice.printers : choice.targets);
  }
  std::vector<std::string> queues = platform::MakePrinterList()->DeviceNames();
#ifndef _WIN32
  std::erase_if(queues,
                [](const std::string& name) { return name.find('/') != std::string::npos; });
#endif
  return EachOnce(queues);
}

int RunFleetCommand(const FleetChoice& choice, const WorkerFactory& makeWorker, JobTracker* tracker,
                    std::optional<std::chrono::seconds> wait) {
  const std::vector<std::string> printers = ChosenPrinters(choice);
  if (printers.empty()) {
    std::fprintf(stderr, "quorvel-cli: the print server has no printers.\n");
    return kExitNotRecognized;
  }
  const Clock::time_point start = Clock::now();
  InterruptiblePacer pacer;
  TextSink text;
  std::unique_ptr<JsonSink> json;
  if (choice.format == "json") {
    json = std::make_unique<JsonSink>();
  }
  FleetSink& sink = json ? static_cast<FleetSink&>(*json) : text;
  const FleetSummary summary =
      RunFleet(printers, {choice.jobs, wait}, makeWorker, tracker, pacer, sink);
  const auto elapsed = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
  const int status = ExitStatusOf(summary.worst);
  if (json) {
    json->Close(summary, elapsed, status);
  } else {
    text.Clear();
    std::printf("%s\n", FleetSummaryLine(summary, elapsed).c_str());
    std::fflush(stdout);
  }
  return status;
}

}  // namespace quorvel::cli
