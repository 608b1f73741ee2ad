#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "printing/fleet.h"
#include "printing/job_tracker.h"
#include "printing/road_worker.h"
#include "printing/target.h"

namespace quorvel {

/// A queue of a print server the user named, as a run over several servers names it:
/// "SERVER/QUEUE". A server's HOST:PORT holds no slash, so the first one parts the two; a queue's
/// own instance ("SERVER/QUEUE/INSTANCE") stays with the queue. An empty queue stands for the
/// server itself, when its queues could not be listed.
struct ServerQueue {
  std::string server;
  std::string queue;
};
ServerQueue SplitServerQueue(const std::string& name);
std::string ServerQueueName(const std::string& server, const std::string& queue);

/// The ways to the printers of one print server, by its HOST:PORT.
using AccessForServer = std::function<PrinterAccess&(const std::string& server)>;

/// Why each server that could not be asked for its queues failed, by server.
using ServerFailures = std::map<std::string, std::string>;

/// A run's worker over the queues of several print servers: each server's queues go the queue
/// road of that server, made on this worker's thread the first time one of its queues comes up,
/// so each worker holds one connection per server. A server that cannot be reached fails its
/// own queues with the reason (the worker tries it once); the other servers' queues go on.
class ServersWorker : public FleetWorker {
 public:
  /// `unreachable` names the servers whose queues could not be listed; each is one line.
  /// Every queue gets `task`, the road's options included, as a queue of the user's own server.
  ServersWorker(AccessForServer accessFor, RoadTask task, const ServerFailures& unreachable);
  PrinterResult Run(const std::string& printer, std::optional<JobRef>& job) override;

 private:
  AccessForServer accessFor_;
  RoadTask task_;
  const ServerFailures& unreachable_;
  std::map<std::string, std::unique_ptr<RoadWorker>> workers_;
  ServerFailures failures_;  // the servers this worker could not reach, and why
};

/// Follows the jobs of several print servers for a run: a job's printer is "SERVER/QUEUE", and
/// each server's jobs are asked for together on that server's own tracker, made when first
/// needed. When a server does not answer, the others' answers still come, in PartialAnswers.
class ServersTracker : public JobTracker {
 public:
  using TrackerFactory = std::function<std::unique_ptr<JobTracker>(const std::string& server)>;
  explicit ServersTracker(TrackerFactory makeTracker) : makeTracker_(std::move(makeTracker)) {}

  std::vector<JobStatus> QueryJobs(const std::vector<JobRef>& jobs) override;
  PrinterStatus QueryPrinter(const std::string& printer) override;
  std::vector<PrinterStatus> QueryPrinters(const std::vector<std::string>& printers) override;

 private:
  JobTracker& Of(const std::string& server);

  TrackerFactory makeTracker_;
  std::map<std::string, std::unique_ptr<JobTracker>> trackers_;
};

}  // namespace quorvel
