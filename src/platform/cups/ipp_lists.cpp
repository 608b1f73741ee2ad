// Many jobs or many printers in one request: Get-Jobs and CUPS-Get-Printers, for following and
// checking a whole print server's queues at once.
#include <map>
#include <optional>

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

// The attributes of one job or printer of a response that lists many.
class Group {
 public:
  void Add(ipp_attribute_t* attribute) { attributes_.push_back(attribute); }

  std::vector<std::string> Strings(const char* name) const {
    std::vector<std::string> values;
    if (ipp_attribute_t* attribute = Find(name)) {
      for (int i = 0; i < ippGetCount(attribute); ++i) {
        const char* value = ippGetString(attribute, i, nullptr);
        values.emplace_back(value != nullptr ? value : "");
      }
    }
    return values;
  }
  std::string String(const char* name) const {
    const std::vector<std::string> values = Strings(name);
    return values.empty() ? "" : values.front();
  }
  int Integer(const char* name, int fallback) const {
    ipp_attribute_t* attribute = Find(name);
    return attribute != nullptr ? ippGetInteger(attribute, 0) : fallback;
  }
  bool Boolean(const char* name, bool fallback) const {
    ipp_attribute_t* attribute = Find(name);
    return attribute != nullptr ? ippGetBoolean(attribute, 0) != 0 : fallback;
  }
  // "none" is IPP's way of saying there is no reason.
  std::vector<std::string> Reasons(const char* name) const {
    std::vector<std::string> reasons = Strings(name);
    std::erase(reasons, "none");
    return reasons;
  }

 private:
  ipp_attribute_t* Find(const char* name) const {
    for (ipp_attribute_t* attribute : attributes_) {
      if (std::string_view(ippGetName(attribute)) == name) {
        return attribute;
      }
    }
    return nullptr;
  }

  std::vector<ipp_attribute_t*> attributes_;
};

// Groups of `tag` in the order the server sent them; a nameless attribute separates two.
std::vector<Group> Groups(ipp_t* response, ipp_tag_t tag) {
  std::vector<Group> groups;
  bool open = false;
  for (ipp_attribute_t* attribute = ippFirstAttribute(response); attribute != nullptr;
       attribute = ippNextAttribute(response)) {
    if (ippGetGroupTag(attribute) != tag || ippGetName(attribute) == nullptr) {
      open = false;
      continue;
    }
    if (!open) {
      groups.emplace_back();
      open = true;
    }
    groups.back().Add(attribute);
  }
  return groups;
}

ipp_t* NewListRequest(ipp_op_t operation, const char* const* names, int count) {
  ipp_t* request = ippNewRequest(operation);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, "ipp://localhost/");
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", count, nullptr,
                names);
  return request;
}

JobStatus ToJobStatus(const Group& job) {
  JobStatus status;
  status.state = ToJobState(job.Integer("job-state", 0));
  status.reasons = job.Reasons("job-state-reasons");
  status.message = job.String("job-printer-state-message");
  if (status.message.empty()) {
    status.message = job.String("job-state-message");
  }
  return status;
}

PrinterStatus ToPrinterStatus(const Group& printer) {
  PrinterStatus status;
  status.exists = true;
  status.state = ToPrinterState(printer.Integer("printer-state", 0));
  status.reasons = printer.Reasons("printer-state-reasons");
  status.message = printer.String("printer-state-message");
  status.acceptingJobs = printer.Boolean("printer-is-accepting-jobs", true);
  status.jobsAhead = printer.Integer("queued-job-count", 0);
  return status;
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
