#include "printing/fleet.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace quorvel {
namespace {

using std::chrono::milliseconds;

// How long the run's thread waits for a printer to finish before it looks at Ctrl-C again.
constexpr milliseconds kTick{20};

struct Finished {
  PrinterResult result;
  std::optional<JobRef> job;
};

// What the workers share: the next printer to take and the printers they finished. Once stopped,
// no printer is handed out any more.
class WorkQueue {
 public:
  WorkQueue(const std::vector<std::string>& printers, std::function<bool()> userStopped)
      : printers_(printers), userStopped_(std::move(userStopped)) {}

  const std::string* Next() {
    const std::lock_guard<std::mutex> lock(mutex_);
    const bool userStopped = userStopped_ && userStopped_();
    return stopped_ || userStopped || next_ == printers_.size() ? nullptr : &printers_[next_++];
  }
  void Push(Finished finished) {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      finished_.push_back(std::move(finished));
    }
    ready_.notify_one();
  }
  std::deque<Finished> Take(milliseconds wait) {
    std::unique_lock<std::mutex> lock(mutex_);
    ready_.wait_for(lock, wait, [this] { return !finished_.empty(); });
    return std::exchange(finished_, {});
  }
  // The printers never handed out, after Stop.
  std::size_t Stop() {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
    return next_;
  }

 private:
  const std::vector<std::string>& printers_;
  std::function<bool()> userStopped_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Finished> finished_;
  std::size_t next_ = 0;
  bool stopped_ = false;
};

// A worker that could not be made (its connection failed) still answers for each printer it
// takes, so that no printer goes unreported.
void Work(WorkQueue& queue, const WorkerFactory& makeWorker, std::atomic<std::size_t>& live) {
  std::unique_ptr<FleetWorker> worker;
  std::string failure;
  try {
    worker = makeWorker();
  } catch (const std::exception& e) {
    failure = e.what();
  }
  while (const std::string* printer = queue.Next()) {
    Finished finished;
    if (worker) {
      finished.result = worker->Run(*printer, finished.job);
    } else {
      finished.result = {*printer, FleetOutcome::kFailed, 0, milliseconds{0}, failure, ""};
    }
    queue.Push(std::move(finished));
  }
  --live;
}

// A job being followed: its line so far, and the follow-up's state.
struct Followed {
  PrinterResult result;
  JobRef job;
  milliseconds since{0};  // when the follow-up began, on the pacer's clock
  FollowResult follow;
};

// The run's own thread: reports, counts and follows the jobs the workers took.
class Conductor {
 public:
  Conductor(const FleetOptions& options, JobTracker* tracker, Pacer& pacer, FleetSink& sink,
            std::size_t total)
      : options_(options), tracker_(tracker), pacer_(pacer), sink_(sink), total_(total) {
    summary_.total = total;
  }

  void Take(Finished finished) {
    if (finished.job && options_.wait && tracker_ != nullptr) {
      Followed followed{std::move(finished.result), *finished.job, pacer_.Elapsed(), {}};
      followed.follow.limit = *options_.wait;
      followed_.push_back(std::move(followed));
      return;
    }
    Report(finished.result);
  }

  void Report(const PrinterResult& result) {
    ++summary_.counts[static_cast<std::size_t>(result.outcome)];
    if (const std::string source = ConfirmedBy(result); !source.empty()) {
      ++summary_.confirmedBy[source];
    }
    if (Severity(result.outcome) > Severity(summary_.worst)) {
      summary_.worst = result.outcome;
    }
    sink_.Finished(result);
    sink_.Progress(++done_, total_);
  }

  bool Following() const { return !followed_.empty(); }

  // How long until the next round is due; zero when it is.
  milliseconds UntilRound() const {
    return std::max(milliseconds{0}, nextRound_ - pacer_.Elapsed());
  }

  void FollowRound();
  void GiveUpFollowing();
  const FleetSummary& Summary() const { return summary_; }

 private:
  void AskJobs();
  void AskPrinters();
  void Settle(Followed& followed, JobVerdict verdict);

  const FleetOptions& options_;
  JobTracker* tracker_;
  Pacer& pacer_;
  FleetSink& sink_;
  std::size_t total_;
  std::size_t done_ = 0;
  FleetSummary summary_;
  std::vector<Followed> followed_;
  milliseconds nextRound_{0};
  milliseconds roundPause_ = kFirstFollowPause;
};

}  // namespace

namespace {

// One question for every job, then one for the printers of the jobs not yet completed. A question
// the spooler does not answer stays as each job's failure until a later round is answered.
void Conductor::AskJobs() {
  std::vector<JobRef> jobs;
  jobs.reserve(followed_.size());
  for (const Followed& followed : followed_) {
    jobs.push_back(followed.job);
  }
  try {
    const std::vector<JobStatus> statuses = tracker_->QueryJobs(jobs);
    for (std::size_t i = 0; i < followed_.size() && i < statuses.size(); ++i) {
      followed_[i].follow.job = statuses[i];
      followed_[i].follow.failure.clear();
    }
  } catch (const PartialAnswers& e) {
    // Some print servers answered: their jobs go on, the others keep their server's reason.
    for (std::size_t i = 0; i < followed_.size(); ++i) {
      FollowResult& follow = followed_[i].follow;
      if (i < e.failures.size() && e.failures[i].empty() && i < e.jobs.size()) {
        follow.job = e.jobs[i];
        follow.failure.clear();
      } else {
        follow.failure = i < e.failures.size() ? e.failures[i] : e.what();
      }
    }
  } catch (const std::exception& e) {
    for (Followed& followed : followed_) {
      followed.follow.failure = e.what();
    }
  }
}

void Conductor::AskPrinters() {
  std::vector<std::string> names;
  std::vector<Followed*> asking;
  for (Followed& followed : followed_) {
    if (followed.follow.failure.empty() && followed.follow.job.state != JobState::kCompleted) {
      names.push_back(followed.job.printer);
      asking.push_back(&followed);
    }
  }
  if (names.empty()) {
    return;
  }
  try {
    const std::vector<PrinterStatus> statuses = tracker_->QueryPrinters(names);
    for (std::size_t i = 0; i < asking.size() && i < statuses.size(); ++i) {
      asking[i]->follow.printer = statuses[i];
      asking[i]->follow.printerKnown = true;
    }
  } catch (const PartialAnswers& e) {
    for (std::size_t i = 0; i < asking.size(); ++i) {
      if (i < e.failures.size() && e.failures[i].empty() && i < e.printers.size()) {
        asking[i]->follow.printer = e.printers[i];
        asking[i]->follow.printerKnown = true;
      } else {
        asking[i]->follow.failure = i < e.failures.size() ? e.failures[i] : e.what();
      }
    }
  } catch (const std::exception& e) {
    for (Followed* followed : asking) {
      followed->follow.failure = e.what();
    }
  }
}

void Conductor::Settle(Followed& followed, JobVerdict verdict) {
  followed.follow.verdict = verdict;
  followed.result.elapsed += pacer_.Elapsed() - followed.since;
  SettleFollowed(followed.result, followed.job, followed.follow);
  followed.result.confirmedBy = "spooler";
  Report(followed.result);
}

void Conductor::FollowRound() {
  AskJobs();
  AskPrinters();
  const milliseconds now = pacer_.Elapsed();
  std::vector<Followed> still;
  for (Followed& followed : followed_) {
    std::optional<JobVerdict> verdict = DecideFollowResult(followed.follow);
    if (!verdict && now - followed.since >= followed.follow.limit) {
      verdict = JobVerdict::kNotConfirmed;
    }
    if (verdict) {
      Settle(followed, *verdict);
    } else {
      still.push_back(std::move(followed));
    }
  }
  followed_ = std::move(still);
  nextRound_ = now + roundPause_;
  roundPause_ = std::min(roundPause_ * 2, kLongestFollowPause);
}

// Ctrl-C: the jobs stay where they are; each is reported with its id and last known state.
void Conductor::GiveUpFollowing() {
  for (Followed& followed : followed_) {
    followed.follow.interrupted = true;
    Settle(followed, JobVerdict::kNotConfirmed);
  }
  followed_.clear();
}

void ReportNotSent(Conductor& conductor, const std::vector<std::string>& printers,
                   std::size_t from) {
  for (std::size_t i = from; i < printers.size(); ++i) {
    conductor.Report({printers[i], FleetOutcome::kNotSent, 0, milliseconds{0},
                      "stopped by the user before this printer's turn; nothing was sent", ""});
  }
}

// Reports printers as they finish and follows their jobs until every worker is done and every
// job settled; false when a pause was cut short (Ctrl-C) first.
bool Conduct(WorkQueue& queue, Conductor& conductor, const std::atomic<std::size_t>& live,
             Pacer& pacer) {
  for (;;) {
    // Read before taking: once no worker is left, everything they finished is in the queue.
    const bool working = live > 0;
    const milliseconds wait = conductor.Following() ? conductor.UntilRound() : kTick;
    for (Finished& finished : queue.Take(working ? std::min(wait, kTick) : milliseconds{0})) {
      conductor.Take(std::move(finished));
    }
    if (!working && !conductor.Following()) {
      return true;
    }
    if (!pacer.Pause(working ? milliseconds{0} : conductor.UntilRound())) {
      return false;
    }
    if (conductor.Following() && conductor.UntilRound() == milliseconds{0}) {
      conductor.FollowRound();
    }
  }
}

}  // namespace

std::string JoinedLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    if (!text.empty()) {
      text += text.back() == '.' ? " " : "; ";
    }
    text += line;
  }
  return text;
}

void SettleFollowed(PrinterResult& result, const JobRef& job, const FollowResult& follow) {
  result.outcome = OutcomeOf(follow.verdict);
  if (follow.verdict != JobVerdict::kPrinted) {
    result.detail = JoinedLines(DescribeFollowResult(job, follow));
  }
}

std::string ConfirmedBy(const PrinterResult& result) {
  const bool verdict =
      result.outcome == FleetOutcome::kPrinted || result.outcome == FleetOutcome::kNotPrinted;
  return verdict ? result.confirmedBy : std::string();
}

bool FleetSummary::AllSucceeded() const {
  return Succeeded(worst);
}

FleetSummary RunFleet(const std::vector<std::string>& printers, const FleetOptions& options,
                      const WorkerFactory& makeWorker, JobTracker* tracker, Pacer& pacer,
                      FleetSink& sink) {
  Conductor conductor(options, tracker, pacer, sink, printers.size());
  WorkQueue queue(printers, options.stopped);
  const std::size_t count = std::min(std::max<std::size_t>(options.jobs, 1), printers.size());
  std::atomic<std::size_t> live{count};
  std::vector<std::thread> workers;
  for (std::size_t i = 0; i < count; ++i) {
    workers.emplace_back(Work, std::ref(queue), std::cref(makeWorker), std::ref(live));
  }
  const bool interrupted = !Conduct(queue, conductor, live, pacer);
  const std::size_t started = interrupted ? queue.Stop() : printers.size();
  for (std::thread& worker : workers) {
    worker.join();  // a job being sent is finished and reported, never cut off half way
  }
  for (Finished& finished : queue.Take(milliseconds{0})) {
    conductor.Take(std::move(finished));
  }
  conductor.GiveUpFollowing();
  ReportNotSent(conductor, printers, started);
  return conductor.Summary();
}

}  // namespace quorvel
