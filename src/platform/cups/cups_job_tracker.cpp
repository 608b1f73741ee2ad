#include "platform/cups/cups_job_tracker.h"

#include "platform/cups/ipp_status.h"

namespace quorvel::platform::cups {
namespace {

IppTarget QueueTarget(const std::string& printer) {
  return {QueueUri(printer.substr(0, printer.find('/'))), "/"};
}

}  // namespace

std::vector<JobStatus> CupsJobTracker::QueryJobs(const std::vector<JobRef>& jobs) {
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

}  // namespace quorvel::platform::cups
