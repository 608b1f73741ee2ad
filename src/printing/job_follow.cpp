#include "printing/job_follow.h"

#include <algorithm>
#include <exception>
#include <optional>

namespace quorvel {
namespace {

using std::chrono::milliseconds;

// One round: the job, and its printer unless the job is done. A question the spooler does not
// answer is kept as the round's failure; the follow-up goes on until its time is up.
void AskOnce(JobTracker& tracker, const JobRef& job, FollowResult& result) {
  try {
    const std::vector<JobStatus> jobs = tracker.QueryJobs({job});
    if (!jobs.empty()) {
      result.job = jobs.front();
    }
    if (result.job.state != JobState::kCompleted) {
      result.printer = tracker.QueryPrinter(job.printer);
      result.printerKnown = true;
    }
    result.failure.clear();
  } catch (const std::exception& e) {
    result.failure = e.what();
  }
}

}  // namespace

std::optional<JobVerdict> DecideFollowResult(const FollowResult& result) {
  if (!result.failure.empty()) {
    return std::nullopt;
  }
  switch (result.job.state) {
    case JobState::kCompleted:
      return JobVerdict::kPrinted;
    case JobState::kHeld:
    case JobState::kStopped:
    case JobState::kCanceled:
    case JobState::kAborted:
      return JobVerdict::kNotPrinted;
    case JobState::kGone:
      return JobVerdict::kNotConfirmed;
    case JobState::kPending:
    case JobState::kProcessing:
      break;
  }
  if (result.printerKnown && result.printer.state == PrinterState::kStopped) {
    return JobVerdict::kNotPrinted;
  }
  return std::nullopt;
}

const char* StateName(JobState state) {
  switch (state) {
    case JobState::kPending:
      return "pending";
    case JobState::kHeld:
      return "held";
    case JobState::kProcessing:
      return "processing";
    case JobState::kStopped:
      return "stopped";
    case JobState::kCanceled:
      return "canceled";
    case JobState::kAborted:
      return "aborted";
    case JobState::kCompleted:
      return "completed";
    case JobState::kGone:
      return "no longer known to the spooler";
  }
  return "unknown";
}

const char* StateName(PrinterState state) {
  switch (state) {
    case PrinterState::kIdle:
      return "idle";
    case PrinterState::kProcessing:
      return "processing";
    case PrinterState::kStopped:
      return "stopped";
    case PrinterState::kUnknown:
      break;
  }
  return "unknown";
}

FollowResult FollowJob(JobTracker& tracker, const JobRef& job, std::chrono::seconds limit,
                       Pacer& pacer) {
  FollowResult result;
  result.limit = limit;
  milliseconds pause = kFirstFollowPause;
  for (;;) {
    AskOnce(tracker, job, result);
    if (const std::optional<JobVerdict> verdict = DecideFollowResult(result)) {
      result.verdict = *verdict;
      return result;
    }
    const milliseconds left = std::chrono::duration_cast<milliseconds>(limit) - pacer.Elapsed();
    if (left <= milliseconds::zero()) {
      result.verdict = JobVerdict::kNotConfirmed;
      return result;
    }
    if (!pacer.Pause(std::min(pause, left))) {
      result.interrupted = true;
      result.verdict = JobVerdict::kNotConfirmed;
      return result;
    }
    pause = std::min(pause * 2, kLongestFollowPause);
  }
}

}  // namespace quorvel
