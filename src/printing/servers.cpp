#include "printing/servers.h"

#include <exception>
#include <utility>

namespace quorvel {
namespace {

using std::chrono::milliseconds;

// The answers for `items` asked of each server once, back in the order given. A server that does
// not answer leaves its items' answers empty and their `failures` set to its reason.
template <typename Answer, typename Item, typename Ask>
std::vector<Answer> AskEachServer(const std::vector<Item>& items,
                                  const std::function<std::string(const Item&)>& nameOf,
                                  const std::function<Item(const Item&, std::string)>& onServer,
                                  Ask ask, std::vector<std::string>& failures) {
  std::map<std::string, std::vector<std::size_t>> byServer;
  for (std::size_t i = 0; i < items.size(); ++i) {
    byServer[SplitServerQueue(nameOf(items[i])).server].push_back(i);
  }
  std::vector<Answer> answers(items.size());
  failures.assign(items.size(), "");
  for (const auto& [server, indices] : byServer) {
    std::vector<Item> asked;
    asked.reserve(indices.size());
    for (const std::size_t i : indices) {
      asked.push_back(onServer(items[i], SplitServerQueue(nameOf(items[i])).queue));
    }
    try {
      std::vector<Answer> got = ask(server, asked);
      for (std::size_t k = 0; k < indices.size() && k < got.size(); ++k) {
        answers[indices[k]] = std::move(got[k]);
      }
    } catch (const std::exception& e) {
      for (const std::size_t i : indices) {
        failures[i] = e.what();
      }
    }
  }
  return answers;
}

// The first reason a server gave, or nothing when every server answered.
const std::string* FirstFailure(const std::vector<std::string>& failures) {
  for (const std::string& failure : failures) {
    if (!failure.empty()) {
      return &failure;
    }
  }
  return nullptr;
}

}  // namespace

ServerQueue SplitServerQueue(const std::string& name) {
  const std::size_t slash = name.find('/');
  if (slash == std::string::npos) {
    return {name, ""};
  }
  return {name.substr(0, slash), name.substr(slash + 1)};
}

std::string ServerQueueName(const std::string& server, const std::string& queue) {
  return queue.empty() ? server : server + "/" + queue;
}

ServersWorker::ServersWorker(AccessForServer accessFor, RoadTask task,
                             const ServerFailures& unreachable)
    : accessFor_(std::move(accessFor)), task_(std::move(task)), unreachable_(unreachable) {}

PrinterResult ServersWorker::Run(const std::string& printer, std::optional<JobRef>& job) {
  const ServerQueue where = SplitServerQueue(printer);
  PrinterResult failed{ServerQueueName(where.server, where.queue),
                       FleetOutcome::kFailed,
                       0,
                       milliseconds{0},
                       "",
                       ""};
  if (const auto down = unreachable_.find(where.server); down != unreachable_.end()) {
    failed.detail = "the print server's queues could not be listed: " + down->second;
    return failed;
  }
  if (const auto down = failures_.find(where.server); down != failures_.end()) {
    failed.detail = down->second;
    return failed;
  }
  std::unique_ptr<RoadWorker>& worker = workers_[where.server];
  if (!worker) {
    try {
      // The queue road only: a queue of a named server is never a raw port or an IPP address.
      worker = std::make_unique<RoadWorker>(accessFor_(where.server), false, task_);
    } catch (const std::exception& e) {
      // This worker does not try that server again: its other queues fail the same way.
      failed.detail = std::string("the print server could not be reached: ") + e.what();
      workers_.erase(where.server);
      failures_[where.server] = failed.detail;
      return failed;
    }
  }
  PrinterResult result = worker->Run(where.queue, job);
  result.printer = failed.printer;
  if (job) {
    job->printer = ServerQueueName(where.server, job->printer);
  }
  return result;
}

JobTracker& ServersTracker::Of(const std::string& server) {
  std::unique_ptr<JobTracker>& tracker = trackers_[server];
  if (!tracker) {
    tracker = makeTracker_(server);
  }
  return *tracker;
}

std::vector<JobStatus> ServersTracker::QueryJobs(const std::vector<JobRef>& jobs) {
  std::vector<std::string> failures;
  std::vector<JobStatus> statuses = AskEachServer<JobStatus, JobRef>(
      jobs, [](const JobRef& job) { return job.printer; },
      [](const JobRef& job, std::string queue) {
        return JobRef{std::move(queue), job.id};
      },
      [this](const std::string& server, const std::vector<JobRef>& asked) {
        return Of(server).QueryJobs(asked);
      },
      failures);
  if (const std::string* failure = FirstFailure(failures)) {
    const std::string what = *failure;
    PartialAnswers partial(what, std::move(failures));
    partial.jobs = std::move(statuses);
    throw partial;
  }
  return statuses;
}

PrinterStatus ServersTracker::QueryPrinter(const std::string& printer) {
  const ServerQueue where = SplitServerQueue(printer);
  return Of(where.server).QueryPrinter(where.queue);
}

std::vector<PrinterStatus> ServersTracker::QueryPrinters(const std::vector<std::string>& printers) {
  std::vector<std::string> failures;
  std::vector<PrinterStatus> statuses = AskEachServer<PrinterStatus, std::string>(
      printers, [](const std::string& name) { return name; },
      [](const std::string& /*name*/, std::string queue) { return queue; },
      [this](const std::string& server, const std::vector<std::string>& asked) {
        return Of(server).QueryPrinters(asked);
      },
      failures);
  if (const std::string* failure = FirstFailure(failures)) {
    const std::string what = *failure;
    PartialAnswers partial(what, std::move(failures));
    partial.printers = std::move(statuses);
    throw partial;
  }
  return statuses;
}

}  // namespace quorvel
