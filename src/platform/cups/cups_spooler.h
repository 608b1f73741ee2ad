#pragma once

#include <memory>
#include <string>

#include "platform/cups/cups_connection.h"
#include "printing/spooler.h"

namespace quorvel::platform::cups {

/// One raw job through CUPS on a connection of its own: Create-Job, then one Send-Document of
/// format application/vnd.cups-raw, so the scheduler neither types nor filters the bytes.
class CupsSpooler : public Spooler {
 public:
  bool Open(const std::string& deviceName) override;
  void StartDocument(const std::string& documentName) override;
  void StartPage() override;
  std::size_t Write(std::string_view bytes) override;
  void EndPage() override;
  void EndDocument() override;
  void Close() noexcept override;
  void Cancel() noexcept override;

 private:
  std::unique_ptr<CupsConnection> connection_;
  std::string queue_;  // the destination's name without its instance: what IPP addresses
  std::string documentName_;
  int jobId_ = 0;
  bool submitted_ = false;
};

}  // namespace quorvel::platform::cups
