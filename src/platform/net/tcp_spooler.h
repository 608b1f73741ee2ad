#pragma once

#include <optional>
#include <string>

#include "platform/net/socket.h"
#include "printing/spooler.h"

namespace quorvel::net {

/// The bounds of a direct send.
struct SendLimits {
  Milliseconds connect{5000};  // to connect
  Milliseconds stall{15000};   // without any progress while sending and finishing
  int sendBuffer = 0;          // bytes; 0 keeps the system's size
};

/// A printer's raw port (AppSocket / JetDirect) as a spooler: the "device name" is HOST:PORT,
/// the job is the connection. No document or page framing goes on the wire; the job counts as
/// printed once the printer has taken every byte and closed the connection.
class TcpSpooler : public Spooler {
 public:
  explicit TcpSpooler(SendLimits limits = {}) : limits_(limits) {}
  /// A spooler that, after the last byte, keeps the connection open for the printer's answer
  /// (half-closed for writing) and puts it in `into`, as `read` bounds it.
  TcpSpooler(BackChannelRead read, BackChannel& into) : read_(std::move(read)), into_(&into) {}

  /// Connects to HOST[:PORT] (port 9100 when none is given). Returns false when the name is not
  /// a host and port; throws PlatformError when the connection cannot be made.
  bool Open(const std::string& deviceName) override;
  void StartDocument(const std::string&) override {}
  void StartPage() override {}
  std::size_t Write(std::string_view bytes) override;
  void EndPage() override {}
  void EndDocument() override;
  void Close() noexcept override { socket_.Reset(); }
  void Cancel() noexcept override { socket_.Reset(); }

 private:
  NetworkLibrary library_;
  SendLimits limits_;
  Socket socket_;
  BackChannelRead read_;
  BackChannel* into_ = nullptr;
};

}  // namespace quorvel::net
