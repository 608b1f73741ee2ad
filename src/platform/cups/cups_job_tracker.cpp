#include "platform/cups/cups_job_tracker.h"

#include "platform/cups/ipp_status.h"

namespace quorvel::platform::cups {
namespace {

IppTarget QueueTarget(const std::string& printer) {
  return {QueueUri(printer.substr(0, printer.find('/'))), "/"};
}

}  // namespace

// Several jobs are asked for in one Get-Jobs, however many queues they are on; when one of them
// is gone, the server answers for none, and each is asked for on its own.
std::vector<JobStatus> CupsJobTracker::QueryJobs(const std::vector<JobRef>& jobs) {
  if (jobs.size() > 1) {
    std::vector<int> ids;
    ids.reserve(jobs.size());
    for (const JobRef& job : jobs) {
      ids.push_back(job.id);
    }
    if (std::optional<std::vector<JobStatus>> statuses =
            ReadJobStatuses(session_->Connection(), ids)) {
      return std::move(*statuses);
    }
  }
  std::vector<JobStatus> statuses;
  statuses.reserve(jobs.size());
  for (const JobRef& job : jobs) {
    statuses.push_back(ReadJobStatus(session_->Connection(), QueueTarget(job.printer), job.id));
  }
  return statuses;
}

// Whether the name is exactly an installed printer's is the printer list's question
// (HasDeviceName); the server itself compares queue names without case.
PrinterStatus CupsJobTracker::QueryPrinter(const std::string& printer) {
  if (printer.empty() || printer.front() == '/') {
    return {};
  }
  return ReadPrinterStatus(session_->Connection(), QueueTarget(printer));
}

std::vector<PrinterStatus> CupsJobTracker::QueryPrinters(const std::vector<std::string>& printers) {
  if (printers.size() <= 1) {
    return JobTracker::QueryPrinters(printers);
  }
  std::vector<std::string> queues;
  queues.reserve(printers.size());
  for (const std::string& printer : printers) {
    queues.push_back(printer.substr(0, printer.find('/')));
  }
  return ReadPrinterStatuses(session_->Connection(), queues);
}

}  // namespace quorvel::platform::cups
