#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "printing/job_follow.h"
#include "printing/job_tracker.h"
#include "printing/outcomes.h"

namespace quorvel {

/// One printer's line of the report.
struct PrinterResult {
  std::string printer;
  FleetOutcome outcome = FleetOutcome::kNotSent;
  int jobId = 0;  // 0 when no job was taken
  std::chrono::milliseconds elapsed{0};
  std::string detail;       // the single-printer command's words for what went wrong, on one line
  std::string confirmedBy;  // who was asked for the verdict: "spooler", "ipp", "pjl", "snmp"
};

/// Who confirmed the printer's end, as the reports name it: the source asked, when it gave a
/// verdict (printed or not printed); empty when nobody confirmed anything (not confirmed, or no
/// one was asked).
std::string ConfirmedBy(const PrinterResult& result);

/// Sends one printer its job (or checks it), the way the single-printer command does, with
/// platform objects of its own. Each worker thread makes its own and uses it alone.
class FleetWorker {
 public:
  virtual ~FleetWorker() = default;

  /// Never throws: every failure is in the result. `job`, when the spooler names the job it
  /// took, is set for the follow-up.
  virtual PrinterResult Run(const std::string& printer, std::optional<JobRef>& job) = 0;
};

/// Made on the worker's own thread, so that its connections belong to that thread.
using WorkerFactory = std::function<std::unique_ptr<FleetWorker>()>;

/// Where results go, on the calling thread only, as each printer finishes.
class FleetSink {
 public:
  virtual ~FleetSink() = default;
  virtual void Finished(const PrinterResult& result) = 0;
  /// `done` of `total` printers have finished.
  virtual void Progress(std::size_t done, std::size_t total) = 0;
};

struct FleetOptions {
  std::size_t jobs = 8;  // printers worked on at once
  /// With a value, every job taken is followed for at most this long, all of them together.
  std::optional<std::chrono::seconds> wait;
  /// Whether the user stopped (Ctrl-C): when given, no worker takes another printer after it,
  /// even one whose own wait saw it first.
  std::function<bool()> stopped;
};

/// Counts per outcome and the worst one.
struct FleetSummary {
  std::size_t counts[kFleetOutcomeCount] = {};
  std::size_t total = 0;
  FleetOutcome worst = FleetOutcome::kExecuted;
  /// How many verdicts each source gave (ConfirmedBy): "spooler", "ipp", "pjl", "snmp".
  std::map<std::string, std::size_t> confirmedBy;
  bool AllSucceeded() const;
};

/// A followed job's verdict on its printer's line: the outcome, and why when not printed.
void SettleFollowed(PrinterResult& result, const JobRef& job, const FollowResult& follow);

/// A report's lines on one line: after a full stop a space, else "; ".
std::string JoinedLines(const std::vector<std::string>& lines);

/// Works on `printers` in order with at most `options.jobs` workers at once, each printer once.
/// With a wait, `tracker` follows every job taken, one QueryJobs (and one QueryPrinters) per
/// round for all of them. `pacer` paces the calling thread; when a pause is cut short (Ctrl-C) no
/// further printer is started, the jobs already taken are left alone and reported, and the
/// printers not started are reported as not sent.
FleetSummary RunFleet(const std::vector<std::string>& printers, const FleetOptions& options,
                      const WorkerFactory& makeWorker, JobTracker* tracker, Pacer& pacer,
                      FleetSink& sink);

}  // namespace quorvel
