#pragma once

#include <chrono>
#include <optional>

#include "printing/job_follow.h"
#include "printing/job_tracker.h"
#include "printing/outcomes.h"

namespace quorvel::cli {

/// Real time for a follow-up: its pauses end as soon as Ctrl-C has reached the run's
/// InterruptiblePacer. A worker thread uses one as it is.
class WorkerPacer : public Pacer {
 public:
  WorkerPacer();
  std::chrono::milliseconds Elapsed() override;
  bool Pause(std::chrono::milliseconds duration) override;

 private:
  std::chrono::steady_clock::time_point start_;
};

/// The run's own pacer: from its making until its end, Ctrl-C cuts the pauses short (and every
/// later one, the workers' too) instead of ending the program.
class InterruptiblePacer : public WorkerPacer {
 public:
  InterruptiblePacer();
  ~InterruptiblePacer() override;
  InterruptiblePacer(const InterruptiblePacer&) = delete;
  InterruptiblePacer& operator=(const InterruptiblePacer&) = delete;

 private:
  void (*previous_)(int) = nullptr;
};

/// Whether Ctrl-C has reached the run's InterruptiblePacer: every wait for a printer's or
/// spooler's answer ends then, on any thread.
bool StopRequested();

/// Follows `job` with `tracker` for at most `limit` (Ctrl-C ends the wait early and leaves the
/// job as it is), prints "Printed" on standard output or the job's and printer's state on
/// standard error, and returns the exit status: 0, kExitNotPrinted or kExitNotConfirmed. With no
/// job to follow (the spooler named none) the outcome is not confirmed.
int WaitForJob(JobTracker& tracker, const std::optional<JobRef>& job, std::chrono::seconds limit);

/// Tells a follow-up's end as WaitForJob does and returns its exit status.
int TellFollowResult(const std::optional<JobRef>& job, const FollowResult& result);

}  // namespace quorvel::cli
