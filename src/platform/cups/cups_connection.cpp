#include "platform/cups/cups_connection.h"

#include <cerrno>
#include <cstring>

#include "common/platform_error.h"

namespace quorvel::platform::cups {
namespace {

// How long one wait lasts before the budget is looked at again.
constexpr double kWaitSliceSeconds = 1.0;

std::string ServerText() {
  const char* server = cupsServer();
  std::string text = server != nullptr ? server : "";
  if (!text.empty() && text.front() != '/') {
    text += ":" + std::to_string(ippPort());
  }
  return text;
}

std::string LastErrorText() {
  const char* reason = cupsLastErrorString();
  if (reason != nullptr && *reason != '\0' && std::strcmp(reason, "Success") != 0) {
    return reason;
  }
  return ippErrorString(cupsLastError());
}

}  // namespace

CupsConnection::CupsConnection()
    : http_(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                         kConnectTimeoutMs, nullptr)) {
  if (!http_) {
    const char* reason = cupsLastErrorString();
    throw PlatformError("Connect to print server " + ServerText(),
                        reason != nullptr && *reason != '\0' ? reason : std::strerror(errno));
  }
  Arm();
  httpSetTimeout(http_.get(), kWaitSliceSeconds, &CupsConnection::KeepWaiting, this);
}

void CupsConnection::Arm() {
  deadline_ = std::chrono::steady_clock::now() + kCallBudget;
  timedOut_ = false;
}

// libcups calls this when a wait has seen no data for one slice; 0 gives the request up.
int CupsConnection::KeepWaiting(http_t* /*http*/, void* self) {
  auto* connection = static_cast<CupsConnection*>(self);
  if (std::chrono::steady_clock::now() < connection->deadline_) {
    return 1;
  }
  connection->timedOut_ = true;
  return 0;
}

UniqueIpp CupsConnection::Send(ipp_t* request, const std::string& resource,
                               const std::string& operation, bool notFoundIsFailure) {
  Arm();
  UniqueIpp response(cupsDoRequest(http_.get(), request, resource.c_str()));
  if (LastRequestFailed(notFoundIsFailure)) {
    Fail(operation);
  }
  return response;
}

bool CupsConnection::LastRequestFailed(bool notFoundIsFailure) const {
  const ipp_status_t status = cupsLastError();
  if (!notFoundIsFailure && status == IPP_STATUS_ERROR_NOT_FOUND) {
    return timedOut_;
  }
  return timedOut_ || status >= IPP_STATUS_REDIRECTION_OTHER_SITE;
}

void CupsConnection::Fail(const std::string& operation) const {
  if (timedOut_) {
    throw PlatformError(operation, "the print server " + ServerText() + " did not answer within " +
                                       std::to_string(kCallBudget.count()) + " seconds");
  }
  throw PlatformError(operation, LastErrorText());
}

std::string QueueUri(const std::string& queue) {
  char uri[HTTP_MAX_URI];
  httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                   "/printers/%s", queue.c_str());
  return uri;
}

std::optional<std::string> FindQueue(CupsConnection& connection, const std::string& queue) {
  ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
               QueueUri(queue).c_str());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
               "printer-name");
  const UniqueIpp response =
      connection.Send(request, "/", "Get-Printer-Attributes " + queue, false);
  ipp_attribute_t* name =
      response ? ippFindAttribute(response.get(), "printer-name", IPP_TAG_NAME) : nullptr;
  if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND || name == nullptr) {
    return std::nullopt;
  }
  return ippGetString(name, 0, nullptr);
}

}  // namespace quorvel::platform::cups
