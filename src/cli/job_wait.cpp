#include "cli/job_wait.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <string>
#include <thread>

#include "printing/job_follow.h"

namespace quorvel::cli {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Set by the signal handler, read by the run's thread and its workers (lock-free, so
// signal-safe).
std::atomic<int> interrupted{0};

extern "C" void OnInterrupt(int /*signal*/) {
  interrupted = 1;
}

void PrintLines(std::FILE* stream, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    std::fprintf(stream, "%s\n", line.c_str());
  }
  std::fflush(stream);
}

}  // namespace

InterruptiblePacer::InterruptiblePacer() {
  interrupted = 0;
  previous_ = std::signal(SIGINT, &OnInterrupt);
}

InterruptiblePacer::~InterruptiblePacer() {
  std::signal(SIGINT, previous_);
}

bool StopRequested() {
  return interrupted != 0;
}

WorkerPacer::WorkerPacer() : start_(Clock::now()) {}

milliseconds WorkerPacer::Elapsed() {
  return std::chrono::duration_cast<milliseconds>(Clock::now() - start_);
}

// Real time, in slices short enough that Ctrl-C ends a pause at once.
bool WorkerPacer::Pause(milliseconds duration) {
  const Clock::time_point end = Clock::now() + duration;
  while (interrupted == 0 && Clock::now() < end) {
    std::this_thread::sleep_for(std::min<Clock::duration>(milliseconds(20), end - Clock::now()));
  }
  return interrupted == 0;
}

int WaitForJob(JobTracker& tracker, const std::optional<JobRef>& job, std::chrono::seconds limit) {
  if (!job) {
    return TellFollowResult(job, {});
  }
  InterruptiblePacer pacer;
  return TellFollowResult(job, FollowJob(tracker, *job, limit, pacer));
}

int TellFollowResult(const std::optional<JobRef>& job, const FollowResult& result) {
  if (!job) {
    PrintLines(stderr, {"Not confirmed: the spooler gave no job to follow."});
    return kExitNotConfirmed;
  }
  const std::vector<std::string> lines = DescribeFollowResult(*job, result);
  switch (result.verdict) {
    case JobVerdict::kPrinted:
      PrintLines(stdout, lines);
      return kExitOk;
    case JobVerdict::kNotPrinted:
      PrintLines(stderr, lines);
      return kExitNotPrinted;
    case JobVerdict::kNotConfirmed:
      break;
  }
  PrintLines(stderr, lines);
  return kExitNotConfirmed;
}

}  // namespace quorvel::cli
