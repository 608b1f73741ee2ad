#include "platform/net/tcp_spooler.h"

#include "common/platform_error.h"

namespace quorvel::net {

bool TcpSpooler::Open(const std::string& deviceName) {
  const std::optional<Endpoint> endpoint = ParseEndpoint(deviceName, kRawPrintPort);
  if (!endpoint) {
    return false;
  }
  socket_ = Connect(*endpoint, limits_.connect, limits_.sendBuffer);
  return true;
}

std::size_t TcpSpooler::Write(std::string_view bytes) {
  if (!socket_.Valid()) {
    throw PlatformError("send", "not connected");
  }
  SendAll(socket_, bytes, limits_.stall);
  return bytes.size();
}

void TcpSpooler::EndDocument() {
  if (!socket_.Valid()) {
    throw PlatformError("finish the job", "not connected");
  }
  if (into_ != nullptr) {
    *into_ = ReadBackChannel(socket_, read_);
  } else {
    FinishSending(socket_, limits_.stall);
  }
  socket_.Reset();
}

}  // namespace quorvel::net
