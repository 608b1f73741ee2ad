#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "printing/job_tracker.h"

namespace quorvel {

/// The follow-up's pace: the first look soon after the job was taken (a short job is often done
/// by then), then pauses doubling up to one a second, a rate any print server takes in its stride.
inline constexpr std::chrono::milliseconds kFirstFollowPause{50};
inline constexpr std::chrono::milliseconds kLongestFollowPause{1000};

/// How a followed job ended, as far as the spooler would tell.
enum class JobVerdict {
  kPrinted,       // the spooler reports the job completed
  kNotPrinted,    // aborted, canceled, held, or its printer is stopped
  kNotConfirmed,  // the time ran out, the job vanished, or the user stopped waiting
};

/// Time as the follow-up sees it; the command line's pauses end early on Ctrl-C.
class Pacer {
 public:
  virtual ~Pacer() = default;
  virtual std::chrono::milliseconds Elapsed() = 0;
  /// Waits `duration`; false when the user asked to stop waiting.
  virtual bool Pause(std::chrono::milliseconds duration) = 0;
};

/// How long a job, or the printer's own answer, is waited for when no time is given.
inline constexpr std::chrono::seconds kDefaultWait{60};

struct FollowResult {
  JobVerdict verdict = JobVerdict::kNotConfirmed;
  JobStatus job;
  PrinterStatus printer;
  bool printerKnown = false;  // `printer` was read at least once
  bool interrupted = false;   // the user stopped waiting
  std::string failure;        // the last question the spooler did not answer, if any
  std::chrono::seconds limit{0};
};

/// Asks `tracker` about `job` and its printer at a modest rate (often at first, then once a
/// second) until the job completes or fails, or `limit` has passed. Never cancels the job.
FollowResult FollowJob(JobTracker& tracker, const JobRef& job, std::chrono::seconds limit,
                       Pacer& pacer);

/// The verdict the latest round of `result` allows, or nothing while the job may still print
/// (and while the spooler does not answer).
std::optional<JobVerdict> DecideFollowResult(const FollowResult& result);

/// The report of a follow-up, one line each: "Printed", or why not and where job and printer
/// stand.
std::vector<std::string> DescribeFollowResult(const JobRef& job, const FollowResult& result);

}  // namespace quorvel
