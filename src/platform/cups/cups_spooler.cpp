#include "platform/cups/cups_spooler.h"

#include "common/platform_error.h"

namespace quorvel::platform::cups {
namespace {

// Operation names in errors: the IPP operations the steps send.
constexpr const char* kCreateJob = "Create-Job";
constexpr const char* kSendDocument = "Send-Document";

}  // namespace

CupsConnection& CupsSpooler::Connection() {
  if (!open_) {
    throw PlatformError(kCreateJob, "no printer is open");
  }
  return session_->Connection();
}

// The instance part of "name/instance" only selects lpoptions settings on the client; the
// server knows the queue by its name.
bool CupsSpooler::Open(const std::string& deviceName) {
  Close();
  submittedJob_.reset();
  const std::string queue = deviceName.substr(0, deviceName.find('/'));
  if (queue.empty()) {
    return false;
  }
  std::optional<std::string> found = session_->FindQueue(queue);
  if (!found) {
    return false;
  }
  queue_ = std::move(*found);
  open_ = true;
  return true;
}

// A Create-Job of our own: cupsCreateJob first asks for the queue's capabilities twice, which
// costs more than the rest of the job's requests together.
void CupsSpooler::StartDocument(const std::string& documentName) {
  CupsConnection& connection = Connection();
  documentName_ = documentName;
  submitted_ = false;
  ipp_t* request = ippNewRequest(IPP_OP_CREATE_JOB);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
               QueueUri(queue_).c_str());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, documentName.c_str());
  const UniqueIpp response = connection.Send(request, "/printers/" + queue_, kCreateJob);
  ipp_attribute_t* jobId =
      response ? ippFindAttribute(response.get(), "job-id", IPP_TAG_INTEGER) : nullptr;
  if (jobId == nullptr) {
    connection.Fail(kCreateJob);
  }
  jobId_ = ippGetInteger(jobId, 0);
}

void CupsSpooler::StartPage() {
  CupsConnection& connection = Connection();
  connection.Arm();
  if (cupsStartDocument(connection.Get(), queue_.c_str(), jobId_, documentName_.c_str(),
                        CUPS_FORMAT_RAW, 1) != HTTP_STATUS_CONTINUE) {
    connection.Fail(kSendDocument);
  }
  sending_ = true;
}

std::size_t CupsSpooler::Write(std::string_view bytes) {
  CupsConnection& connection = Connection();
  connection.Arm();
  if (cupsWriteRequestData(connection.Get(), bytes.data(), bytes.size()) != HTTP_STATUS_CONTINUE) {
    connection.Fail(kSendDocument);
  }
  return bytes.size();
}

// The job has one document of one page; the page ends with the document.
void CupsSpooler::EndPage() {}

void CupsSpooler::EndDocument() {
  CupsConnection& connection = Connection();
  connection.Arm();
  // An IPP status: the HTTP exchange can succeed while the scheduler refuses the document.
  if (cupsFinishDocument(connection.Get(), queue_.c_str()) >= IPP_STATUS_REDIRECTION_OTHER_SITE ||
      connection.LastRequestFailed()) {
    connection.Fail(kSendDocument);
  }
  sending_ = false;
  submitted_ = true;
  submittedJob_ = JobRef{queue_, jobId_};
}

void CupsSpooler::Close() noexcept {
  open_ = false;
  queue_.clear();
  jobId_ = 0;
}

// After a failure the session's connection may be mid-request; the session then hands out a
// fresh one for the cancel.
void CupsSpooler::Cancel() noexcept {
  if (jobId_ == 0 || submitted_) {
    return;
  }
  try {
    if (sending_) {
      session_->Connection().MarkFailed();  // a document left half sent: start afresh
      sending_ = false;
    }
    CupsConnection& connection = session_->Connection();
    connection.Arm();
    cupsCancelJob2(connection.Get(), queue_.c_str(), jobId_, 0);
  } catch (...) {
    // Nothing more can be done: the job stays for the scheduler to time out.
  }
  jobId_ = 0;
}

}  // namespace quorvel::platform::cups
