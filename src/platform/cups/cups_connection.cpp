#include "platform/cups/cups_connection.h"

#include <cerrno>
#include <cstring>

#include "common/platform_error.h"
#include "platform/net/socket.h"

namespace quorvel::platform::cups {
namespace {

// How long one wait lasts before the budget is looked at again.
constexpr double kWaitSliceSeconds = 1.0;

using Clock = std::chrono::steady_clock;

std::string HostText(const std::string& host, int port) {
  return host.empty() || host.front() == '/' ? host : host + ":" + std::to_string(port);
}

// libcups reports every connect that failed as "Host is down". The system's own reason comes
// from one more attempt of ours, unless the first one used up its time, which means it timed out.
std::string ConnectFailureReason(const std::string& host, int port, Clock::duration spent) {
  const std::string libcupsReason = cupsLastErrorString() != nullptr ? cupsLastErrorString() : "";
  const auto left = std::chrono::milliseconds(kConnectTimeoutMs) -
                    std::chrono::duration_cast<std::chrono::milliseconds>(spent);
  if (left < std::chrono::milliseconds(200)) {
    return std::strerror(ETIMEDOUT);
  }
  if (host.empty() || host.front() == '/') {
    return libcupsReason.empty() ? std::strerror(errno) : libcupsReason;
  }
  try {
    const net::NetworkLibrary library;
    net::Connect({host, static_cast<std::uint16_t>(port)}, left);
  } catch (const std::exception& e) {
    const auto* error = dynamic_cast<const PlatformError*>(&e);
    return error != nullptr ? error->Reason() : e.what();
  }
  return libcupsReason;  // it answers now: the first failure is all there is to say
}

UniqueHttp Connect(const std::string& host, int port, http_encryption_t encryption) {
  const Clock::time_point start = Clock::now();
  UniqueHttp http(httpConnect2(host.c_str(), port, nullptr, AF_UNSPEC, encryption, 1,
                               kConnectTimeoutMs, nullptr));
  if (!http) {
    throw PlatformError("Connect to " + HostText(host, port),
                        ConnectFailureReason(host, port, Clock::now() - start));
  }
  return http;
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
    : server_(HostText(cupsServer(), ippPort())),
      http_(Connect(cupsServer(), ippPort(), cupsEncryption())) {
  Arm();
  httpSetTimeout(http_.get(), kWaitSliceSeconds, &CupsConnection::KeepWaiting, this);
}

CupsConnection::CupsConnection(const std::string& host, int port, bool encrypt)
    : server_(HostText(host, port)),
      http_(Connect(host, port, encrypt ? HTTP_ENCRYPTION_ALWAYS : HTTP_ENCRYPTION_IF_REQUESTED)) {
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
  failed_ = true;
  if (timedOut_) {
    throw PlatformError(operation, "the print server " + server_ + " did not answer within " +
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
