#include "platform/cups/ipp_status.h"

#include <algorithm>
#include <vector>

namespace quorvel::platform::cups {
namespace {

const char* const kJobAttributes[] = {"job-state", "job-state-reasons", "job-printer-state-message",
                                      "job-state-message"};
const char* const kPrinterAttributes[] = {"printer-name",
                                          "printer-state",
                                          "printer-state-reasons",
                                          "printer-state-message",
                                          "printer-is-accepting-jobs",
                                          "queued-job-count",
                                          "device-uri",
                                          "printer-make-and-model",
                                          "printer-type",
                                          "document-format-supported"};

std::vector<std::string> Strings(ipp_t* response, const char* name) {
  std::vector<std::string> values;
  if (ipp_attribute_t* attribute = ippFindAttribute(response, name, IPP_TAG_ZERO)) {
    for (int i = 0; i < ippGetCount(attribute); ++i) {
      const char* value = ippGetString(attribute, i, nullptr);
      values.emplace_back(value != nullptr ? value : "");
    }
  }
  return values;
}

std::string String(ipp_t* response, const char* name) {
  const std::vector<std::string> values = Strings(response, name);
  return values.empty() ? "" : values.front();
}

int Integer(ipp_t* response, const char* name, int fallback) {
  ipp_attribute_t* attribute = ippFindAttribute(response, name, IPP_TAG_ZERO);
  return attribute != nullptr ? ippGetInteger(attribute, 0) : fallback;
}

ipp_t* NewRequest(ipp_op_t operation, const IppTarget& target, const char* const* names,
                  int count) {
  ipp_t* request = ippNewRequest(operation);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
               target.printerUri.c_str());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", count, nullptr,
                names);
  return request;
}

// "none" is IPP's way of saying there is no reason; it says nothing to a reader.
std::vector<std::string> Reasons(ipp_t* response, const char* name) {
  std::vector<std::string> reasons;
  for (std::string& reason : Strings(response, name)) {
    if (reason != "none") {
      reasons.push_back(std::move(reason));
    }
  }
  return reasons;
}

void AddQueueDetails(ipp_t* response, PrinterStatus& status);

}  // namespace

JobState ToJobState(int ippJobState) {
  switch (ippJobState) {
    case IPP_JSTATE_PENDING:
      return JobState::kPending;
    case IPP_JSTATE_HELD:
      return JobState::kHeld;
    case IPP_JSTATE_PROCESSING:
      return JobState::kProcessing;
    case IPP_JSTATE_STOPPED:
      return JobState::kStopped;
    case IPP_JSTATE_CANCELED:
      return JobState::kCanceled;
    case IPP_JSTATE_ABORTED:
      return JobState::kAborted;
    case IPP_JSTATE_COMPLETED:
      return JobState::kCompleted;
    default:
      return JobState::kGone;
  }
}

PrinterState ToPrinterState(int ippPrinterState) {
  switch (ippPrinterState) {
    case IPP_PSTATE_IDLE:
      return PrinterState::kIdle;
    case IPP_PSTATE_PROCESSING:
      return PrinterState::kProcessing;
    case IPP_PSTATE_STOPPED:
      return PrinterState::kStopped;
    default:
      return PrinterState::kUnknown;
  }
}

JobStatus ReadJobStatus(CupsConnection& connection, const IppTarget& target, int jobId) {
  ipp_t* request = NewRequest(IPP_OP_GET_JOB_ATTRIBUTES, target, kJobAttributes,
                              static_cast<int>(std::size(kJobAttributes)));
  ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", jobId);
  const UniqueIpp response = connection.Send(request, target.resource,
                                             "Get-Job-Attributes " + std::to_string(jobId), false);
  JobStatus status;
  if (!response || cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) {
    status.state = JobState::kGone;
    return status;
  }
  status.state = ToJobState(Integer(response.get(), "job-state", 0));
  status.reasons = Reasons(response.get(), "job-state-reasons");
  status.message = String(response.get(), "job-printer-state-message");
  if (status.message.empty()) {
    status.message = String(response.get(), "job-state-message");
  }
  return status;
}

PrinterStatus ReadPrinterStatus(CupsConnection& connection, const IppTarget& target,
                                bool* takesCupsRaw) {
  ipp_t* request = NewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES, target, kPrinterAttributes,
                              static_cast<int>(std::size(kPrinterAttributes)));
  const UniqueIpp response =
      connection.Send(request, target.resource, "Get-Printer-Attributes", false);
  PrinterStatus status;
  if (!response || cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) {
    return status;
  }
  status.exists = true;
  status.state = ToPrinterState(Integer(response.get(), "printer-state", 0));
  status.reasons = Reasons(response.get(), "printer-state-reasons");
  status.message = String(response.get(), "printer-state-message");
  ipp_attribute_t* accepting =
      ippFindAttribute(response.get(), "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
  status.acceptingJobs = accepting == nullptr || ippGetBoolean(accepting, 0) != 0;
  status.jobsAhead = Integer(response.get(), "queued-job-count", 0);
  AddQueueDetails(response.get(), status);
  if (takesCupsRaw != nullptr) {
    const std::vector<std::string> formats = Strings(response.get(), "document-format-supported");
    *takesCupsRaw = std::find(formats.begin(), formats.end(), CUPS_FORMAT_RAW) != formats.end();
  }
  return status;
}

namespace {

// A CUPS queue without a driver is "Local Raw Printer"; one with a driver has filters that run
// on every job the scheduler does not take as raw. A printer reached straight over IPP is known
// by its formats: without application/octet-stream it may refuse or misread raw bytes.
void AddQueueDetails(ipp_t* response, PrinterStatus& status) {
  const std::string makeAndModel = String(response, "printer-make-and-model");
  const std::string deviceUri = String(response, "device-uri");
  if (!deviceUri.empty()) {
    const bool raw = makeAndModel == "Local Raw Printer" || makeAndModel.empty();
    status.details.emplace_back("queue", raw ? "raw" : "driver: " + makeAndModel);
    status.details.emplace_back("device", deviceUri.substr(0, deviceUri.find(':')));
    if (!raw) {
      status.warnings.push_back(
          "a driver queue: its filters may change the bytes of any job "
          "not sent as raw (quorvel sends application/vnd.cups-raw)");
    }
    if ((Integer(response, "printer-type", 0) & CUPS_PRINTER_REMOTE) != 0) {
      status.warnings.push_back("a remote queue: the job goes on to another print server");
    }
    return;
  }
  if (!makeAndModel.empty()) {
    status.details.emplace_back("model", makeAndModel);
  }
  const std::vector<std::string> formats = Strings(response, "document-format-supported");
  bool takesRaw = formats.empty();
  for (const std::string& format : formats) {
    takesRaw = takesRaw || format == "application/octet-stream" || format == CUPS_FORMAT_RAW;
  }
  if (!takesRaw) {
    status.warnings.push_back("the printer lists no raw format (application/octet-stream)");
  }
}

}  // namespace
}  // namespace quorvel::platform::cups
