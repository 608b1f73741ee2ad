#include "platform/cups/ipp_status.h"

#include <algorithm>
#include <vector>

#include "platform/cups/ipp_attributes.h"

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
                                          "document-format-supported",
                                          "printer-device-id"};

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

void AddQueueDetails(const Group& printer, PrinterStatus& status);

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
  if (!response || cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) {
    JobStatus gone;
    gone.state = JobState::kGone;
    return gone;
  }
  return ToJobStatus(FirstGroup(response.get(), IPP_TAG_JOB));
}

PrinterStatus ReadPrinterStatus(CupsConnection& connection, const IppTarget& target,
                                bool* takesCupsRaw) {
  ipp_t* request = NewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES, target, kPrinterAttributes,
                              static_cast<int>(std::size(kPrinterAttributes)));
  const UniqueIpp response =
      connection.Send(request, target.resource, "Get-Printer-Attributes", false);
  if (!response || cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) {
    return PrinterStatus{};
  }
  const Group printer = FirstGroup(response.get(), IPP_TAG_PRINTER);
  PrinterStatus status = ToPrinterStatus(printer);
  AddQueueDetails(printer, status);
  if (takesCupsRaw != nullptr) {
    const std::vector<std::string> formats = printer.Strings("document-format-supported");
    *takesCupsRaw = std::find(formats.begin(), formats.end(), CUPS_FORMAT_RAW) != formats.end();
  }
  return status;
}

namespace {

// A CUPS queue without a driver is "Local Raw Printer"; one with a driver has filters that run
// on every job the scheduler does not take as raw. A printer reached straight over IPP is known
// by its formats: without application/octet-stream it may refuse or misread raw bytes.
void AddQueueDetails(const Group& printer, PrinterStatus& status) {
  const std::string makeAndModel = printer.String("printer-make-and-model");
  const std::string deviceUri = printer.String("device-uri");
  status.deviceId = printer.String("printer-device-id").substr(0, 4096);
  if (!status.deviceId.empty()) {
    status.details.emplace_back("device id", status.deviceId);
  }
  if (!deviceUri.empty()) {
    const bool raw = makeAndModel == "Local Raw Printer" || makeAndModel.empty();
    status.details.emplace_back("queue", raw ? "raw" : "driver: " + makeAndModel);
    status.details.emplace_back("device", deviceUri.substr(0, deviceUri.find(':')));
    if (!raw) {
      status.risks.push_back({RawRisk::kDriverQueue, makeAndModel});
    }
    if ((printer.Integer("printer-type", 0) & CUPS_PRINTER_REMOTE) != 0) {
      status.risks.push_back({RawRisk::kRemoteQueue, ""});
    }
    return;
  }
  if (!makeAndModel.empty()) {
    status.details.emplace_back("model", makeAndModel);
  }
  const std::vector<std::string> formats = printer.Strings("document-format-supported");
  bool takesRaw = formats.empty();
  for (const std::string& format : formats) {
    takesRaw = takesRaw || format == "application/octet-stream" || format == CUPS_FORMAT_RAW;
  }
  if (!takesRaw) {
    status.risks.push_back({RawRisk::kNoRawFormat, ""});
  }
}

}  // namespace
}  // namespace quorvel::platform::cups
