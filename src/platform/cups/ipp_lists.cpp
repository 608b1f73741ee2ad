// Many jobs or many printers in one request: Get-Jobs and CUPS-Get-Printers, for following and
// checking a whole print server's queues at once.
#include <map>
#include <optional>

#include "platform/cups/ipp_attributes.h"
#include "platform/cups/ipp_status.h"

namespace quorvel::platform::cups {
namespace {

const char* const kJobListAttributes[] = {"job-id", "job-state", "job-state-reasons",
                                          "job-printer-state-message", "job-state-message"};
const char* const kPrinterListAttributes[] = {"printer-name",
                                              "printer-state",
                                              "printer-state-reasons",
                                              "printer-state-message",
                                              "printer-is-accepting-jobs",
                                              "queued-job-count"};

ipp_t* NewListRequest(ipp_op_t operation, const char* const* names, int count) {
  ipp_t* request = ippNewRequest(operation);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, "ipp://localhost/");
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", count, nullptr,
                names);
  return request;
}

}  // namespace

// "job-ids" asks for exactly these jobs, finished ones included, whatever queue they are on.
// The scheduler answers "not found" for the whole request when one of them is gone.
std::optional<std::vector<JobStatus>> ReadJobStatuses(CupsConnection& connection,
                                                      const std::vector<int>& jobIds) {
  std::vector<JobStatus> statuses(jobIds.size(), JobStatus{JobState::kGone, {}, {}});
  if (jobIds.empty()) {
    return statuses;
  }
  ipp_t* request = NewListRequest(IPP_OP_GET_JOBS, kJobListAttributes,
                                  static_cast<int>(std::size(kJobListAttributes)));
  ippAddIntegers(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-ids",
                 static_cast<int>(jobIds.size()), jobIds.data());
  const UniqueIpp response = connection.Send(request, "/", "Get-Jobs", false);
  if (!response || cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) {
    return std::nullopt;
  }
  std::map<int, std::size_t> index;
  for (std::size_t i = 0; i < jobIds.size(); ++i) {
    index.emplace(jobIds[i], i);
  }
  for (const Group& job : Groups(response.get(), IPP_TAG_JOB)) {
    const auto found = index.find(job.Integer("job-id", 0));
    if (found != index.end()) {
      statuses[found->second] = ToJobStatus(job);
    }
  }
  return statuses;
}

std::vector<PrinterStatus> ReadPrinterStatuses(CupsConnection& connection,
                                               const std::vector<std::string>& queues) {
  std::vector<PrinterStatus> statuses(queues.size());
  ipp_t* request = NewListRequest(IPP_OP_CUPS_GET_PRINTERS, kPrinterListAttributes,
                                  static_cast<int>(std::size(kPrinterListAttributes)));
  const UniqueIpp response = connection.Send(request, "/", "CUPS-Get-Printers", false);
  if (!response) {
    return statuses;
  }
  std::multimap<std::string, std::size_t> index;
  for (std::size_t i = 0; i < queues.size(); ++i) {
    index.emplace(queues[i], i);
  }
  for (const Group& printer : Groups(response.get(), IPP_TAG_PRINTER)) {
    const auto [first, last] = index.equal_range(printer.String("printer-name"));
    for (auto it = first; it != last; ++it) {
      statuses[it->second] = ToPrinterStatus(printer);
    }
  }
  return statuses;
}

}  // namespace quorvel::platform::cups
