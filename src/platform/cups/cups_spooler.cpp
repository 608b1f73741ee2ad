#include "platform/cups/cups_spooler.h"

#include "common/platform_error.h"

namespace quorvel::platform::cups {
namespace {

// Operation names in errors: the IPP operations the steps send.
constexpr const char* kCreateJob = "Create-Job";
constexpr const char* kSendDocument = "Send-Document";

}  // namespace

// The instance part of "name/instance" only selects lpoptions settings on the client; the
// server knows the queue by its name.
bool CupsSpooler::Open(const std::string& deviceName) {
  Close();
  const std::string queue = deviceName.substr(0, deviceName.find('/'));
  if (queue.empty()) {
    return false;
  }
  connection_ = std::make_unique<CupsConnection>();
  std::optional<std::string> found = FindQueue(*connection_, queue);
  if (!found) {
    connection_.reset();
    return false;
  }
  queue_ = std::move(*found);
  return true;
}

// A Create-Job of our own: cupsCreateJob first asks for the queue's capabilities twice, which
// costs more than the rest of the job's requests together.
void CupsSpooler::StartDocument(const std::string& documentName) {
  documentName_ = documentName;
  submitted_ = false;
  ipp_t* request = ippNewRequest(IPP_OP_CREATE_JOB);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
               QueueUri(queue_).c_str());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, documentName.c_str());
  const UniqueIpp response = connection_->Send(request, "/printers/" + queue_, kCreateJob);
  ipp_attribute_t* jobId =
      response ? ippFindAttribute(response.get(), "job-id", IPP_TAG_INTEGER) : nullptr;
  if (jobId == nullptr) {
    connection_->Fail(kCreateJob);
  }
  jobId_ = ippGetInteger(jobId, 0);
}

void CupsSpooler::StartPage() {
  connection_->Arm();
  if (cupsStartDocument(connection_->Get(), queue_.c_str(), jobId_, documentName_.c_str(),
                        CUPS_FORMAT_RAW, 1) != HTTP_STATUS_CONTINUE) {
    connection_->Fail(kSendDocument);
  }
}

std::size_t CupsSpooler::Write(std::string_view bytes) {
  connection_->Arm();
  if (cupsWriteRequestData(connection_->Get(), bytes.data(), bytes.size()) !=
      HTTP_STATUS_CONTINUE) {
    connection_->Fail(kSendDocument);
  }
  return bytes.size();
}

// The job has one document of one page; the page ends with the document.
void CupsSpooler::EndPage() {}

void CupsSpooler::EndDocument() {
  connection_->Arm();
  // An IPP status: the HTTP exchange can succeed while the scheduler refuses the document.
  if (cupsFinishDocument(connection_->Get(), queue_.c_str()) >= IPP_STATUS_REDIRECTION_OTHER_SITE ||
      connection_->LastRequestFailed()) {
    connection_->Fail(kSendDocument);
  }
  submitted_ = true;
}

void CupsSpooler::Close() noexcept {
  connection_.reset();
  queue_.clear();
  jobId_ = 0;
}

// The job's own connection may be mid-request after a failure, so the cancel goes on a fresh one.
void CupsSpooler::Cancel() noexcept {
  if (jobId_ == 0 || submitted_) {
    return;
  }
  try {
    const CupsConnection connection;
    cupsCancelJob2(connection.Get(), queue_.c_str(), jobId_, 0);
  } catch (...) {
    // Nothing more can be done: the job stays for the scheduler to time out.
  }
  jobId_ = 0;
}

}  // namespace quorvel::platform::cups
