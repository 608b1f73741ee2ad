#pragma once

#include <stdexcept>
#include <string>

namespace quorvel {

/// A failure reported by the operating system or the spooler, translated once by the adapter that
/// met it: what failed ("StartDocPrinter", "Create-Job") and the system's own reason text.
class PlatformError : public std::runtime_error {
 public:
  PlatformError(std::string operation, std::string reason)
      : std::runtime_error(operation + ": " + reason),
        operation_(std::move(operation)),
        reason_(std::move(reason)) {}

  const std::string& Operation() const { return operation_; }
  const std::string& Reason() const { return reason_; }

 private:
  std::string operation_;
  std::string reason_;
};

}  // namespace quorvel
