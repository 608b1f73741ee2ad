#include "platform/cups/ipp_direct.h"

#include <cstring>

#include "common/platform_error.h"

namespace quorvel::platform::cups {
namespace {

constexpr const char* kPrintJob = "Print-Job";

IppTarget TargetOf(const IppAddress& address) {
  return {address.uri, address.resource};
}

}  // namespace

std::optional<IppAddress> ParseIppUri(const std::string& uri) {
  char scheme[32];
  char user[256];
  char host[256];
  char resource[1024];
  int port = 0;
  if (httpSeparateURI(HTTP_URI_CODING_ALL, uri.c_str(), scheme, sizeof scheme, user, sizeof user,
                      host, sizeof host, &port, resource, sizeof resource) < HTTP_URI_STATUS_OK) {
    return std::nullopt;
  }
  const bool ipps = std::strcmp(scheme, "ipps") == 0;
  if ((!ipps && std::strcmp(scheme, "ipp") != 0) || host[0] == '\0' || port <= 0) {
    return std::nullopt;
  }
  return IppAddress{uri, host, port, ipps, resource[0] != '\0' ? resource : "/"};
}

CupsConnection& IppSession::Connection(const IppAddress& address) {
  if (!connection_ || connection_->Failed() || uri_ != address.uri) {
    connection_.reset();
    connection_ = std::make_unique<CupsConnection>(address.host, address.port, address.encrypt);
    uri_ = address.uri;
  }
  return *connection_;
}

CupsConnection& IppSpooler::Connection() {
  if (!address_) {
    throw PlatformError(kPrintJob, "no printer is open");
  }
  return session_->Connection(*address_);
}

bool IppSpooler::Open(const std::string& deviceName) {
  Close();
  submittedJob_.reset();
  address_ = ParseIppUri(deviceName);
  if (!address_) {
    return false;
  }
  bool takesCupsRaw = false;
  const PrinterStatus printer = ReadPrinterStatus(Connection(), TargetOf(*address_), &takesCupsRaw);
  if (!printer.exists) {
    address_.reset();
    return false;
  }
  format_ = takesCupsRaw ? CUPS_FORMAT_RAW : "application/octet-stream";
  return true;
}

void IppSpooler::StartPage() {
  CupsConnection& connection = Connection();
  ipp_t* request = ippNewRequest(IPP_OP_PRINT_JOB);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
               address_->uri.c_str());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr,
               documentName_.c_str());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr,
               format_.c_str());
  connection.Arm();
  const http_status_t status =
      cupsSendRequest(connection.Get(), request, address_->resource.c_str(), CUPS_LENGTH_VARIABLE);
  ippDelete(request);
  if (status != HTTP_STATUS_CONTINUE) {
    connection.Fail(kPrintJob);
  }
  sending_ = true;
}

std::size_t IppSpooler::Write(std::string_view bytes) {
  CupsConnection& connection = Connection();
  connection.Arm();
  if (cupsWriteRequestData(connection.Get(), bytes.data(), bytes.size()) != HTTP_STATUS_CONTINUE) {
    connection.Fail(kPrintJob);
  }
  return bytes.size();
}

void IppSpooler::EndDocument() {
  CupsConnection& connection = Connection();
  connection.Arm();
  const UniqueIpp response(cupsGetResponse(connection.Get(), address_->resource.c_str()));
  sending_ = false;
  ipp_attribute_t* jobId =
      response ? ippFindAttribute(response.get(), "job-id", IPP_TAG_INTEGER) : nullptr;
  if (connection.LastRequestFailed() || jobId == nullptr) {
    connection.Fail(kPrintJob);
  }
  submittedJob_ = JobRef{address_->uri, ippGetInteger(jobId, 0)};
}

// A Print-Job that never ended is no job: dropping the connection is the cancel.
void IppSpooler::Cancel() noexcept {
  if (sending_ && address_) {
    try {
      Connection().MarkFailed();
    } catch (...) {
      // No connection to drop.
    }
  }
  sending_ = false;
}

std::vector<JobStatus> IppJobTracker::QueryJobs(const std::vector<JobRef>& jobs) {
  std::vector<JobStatus> statuses;
  for (const JobRef& job : jobs) {
    const std::optional<IppAddress> address = ParseIppUri(job.printer);
    if (!address) {
      statuses.push_back({JobState::kGone, {}, {}});
      continue;
    }
    statuses.push_back(ReadJobStatus(session_->Connection(*address), TargetOf(*address), job.id));
  }
  return statuses;
}

PrinterStatus IppJobTracker::QueryPrinter(const std::string& printer) {
  const std::optional<IppAddress> address = ParseIppUri(printer);
  if (!address) {
    return {};
  }
  return ReadPrinterStatus(session_->Connection(*address), TargetOf(*address));
}

}  // namespace quorvel::platform::cups
