#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace quorvel {

/// A job the spooler has taken: the printer (queue name, device name or printer address) and the
/// id the spooler gave it.
struct JobRef {
  std::string printer;
  int id = 0;
};

/// Where a job stands, in the terms CUPS and IPP use; Windows' status bits map onto them.
enum class JobState {
  kPending,     // waiting for its turn
  kHeld,        // kept back until someone releases it
  kProcessing,  // being sent to the printer
  kStopped,     // stopped part way, usually with its printer
  kCanceled,
  kAborted,    // ended by the system after an error
  kCompleted,  // the spooler says it is done
  kGone,       // the spooler no longer knows the job
};

struct JobStatus {
  JobState state = JobState::kPending;
  std::vector<std::string> reasons;  // the spooler's own words ("job-hold-until-specified")
  std::string message;               // a line of text the spooler keeps with the job, if any
};

enum class PrinterState { kIdle, kProcessing, kStopped, kUnknown };

/// One line of what a check found out, such as {"device", "socket"} or {"driver", "..."}.
using PrinterDetail = std::pair<std::string, std::string>;

/// What may keep a raw job from arriving unchanged even though the printer is ready.
enum class RawRisk {
  kDriverQueue,     // a queue with a driver: its filters may change a job not sent as raw
  kRemoteQueue,     // the queue passes the job on to another print server
  kNoRawFormat,     // an IPP printer that lists no raw format
  kXpsDriver,       // a v4/XPS driver: the job goes as XPS_PASS
  kV4Driver,        // a v4 driver
  kPrintProcessor,  // a print processor other than winprint
};

/// One risk and what it is about (the print processor's name), as the adapter found it.
struct RawRiskFound {
  RawRisk risk;
  std::string subject;
  bool operator==(const RawRiskFound&) const = default;
};

struct PrinterStatus {
  bool exists = false;
  PrinterState state = PrinterState::kUnknown;
  std::vector<std::string> reasons;  // printer-state-reasons, or the status bits' names
  std::string message;               // printer-state-message, as the spooler words it
  bool acceptingJobs = true;
  int jobsAhead = 0;  // jobs queued on the printer, the one printing included
  /// Why the printer itself could not be reached (the system's reason, "Connection refused");
  /// empty when it was. Then nothing else about it is known: its state stays unknown.
  std::string unreachable;
  std::vector<PrinterDetail> details;
  /// Why a raw job may not arrive or not arrive unchanged even though the printer is ready (a
  /// driver queue's filters, a print processor of its own); they do not make it "not ready".
  std::vector<RawRiskFound> risks;
  /// What the printer itself reports as keeping it from printing (paper out, a jam), when asked.
  std::vector<std::string> deviceProblems;
  /// Its IEEE 1284 device ID, when known.
  std::string deviceId;
  /// The user stopped waiting (Ctrl-C) for the printer's own answer: the rest is what was known
  /// then, and the printer was not checked.
  bool stopped = false;
};

/// Asks a spooler (or a printer) how its jobs and the printer stand. One QueryJobs answers for
/// every job given, so several jobs can be followed in the same round. Failures are thrown as
/// PlatformError carrying the system's reason; each call is bounded in time by the adapter.
class JobTracker {
 public:
  virtual ~JobTracker() = default;

  /// One status per job, in the order given.
  virtual std::vector<JobStatus> QueryJobs(const std::vector<JobRef>& jobs) = 0;

  /// The printer's state; `exists` false when there is no printer of that name.
  virtual PrinterStatus QueryPrinter(const std::string& printer) = 0;

  /// One status per printer, in the order given. Adapters that can ask for many printers in one
  /// request do; this fallback asks for each in turn.
  virtual std::vector<PrinterStatus> QueryPrinters(const std::vector<std::string>& printers) {
    std::vector<PrinterStatus> statuses;
    statuses.reserve(printers.size());
    for (const std::string& printer : printers) {
      statuses.push_back(QueryPrinter(printer));
    }
    return statuses;
  }
};

/// Thrown by a tracker that asks several spoolers for one call (several print servers) when some
/// of them did not answer: for each item asked, in order, its answer in `jobs` (QueryJobs) or
/// `printers` (QueryPrinters), or in `failures` the reason its spooler did not answer (empty for
/// the items answered).
class PartialAnswers : public std::runtime_error {
 public:
  PartialAnswers(const std::string& what, std::vector<std::string> failures)
      : std::runtime_error(what), failures(std::move(failures)) {}
  std::vector<std::string> failures;
  std::vector<JobStatus> jobs;
  std::vector<PrinterStatus> printers;
};

/// The words used for states in reports: "pending", "held", ..., "idle", "stopped".
const char* StateName(JobState state);
const char* StateName(PrinterState state);

}  // namespace quorvel
