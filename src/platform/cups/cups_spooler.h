#pragma once

#include <memory>
#include <string>

#include "platform/cups/cups_session.h"
#include "printing/spooler.h"

namespace quorvel::platform::cups {

/// One raw job through CUPS on the run's shared connection: Create-Job, then one Send-Document
/// of format application/vnd.cups-raw, so the scheduler neither types nor filters the bytes.
class CupsSpooler : public Spooler {
 public:
  explicit CupsSpooler(std::shared_ptr<CupsSession> session = CupsSession::Shared())
      : session_(std::move(session)) {}

  bool Open(const std::string& deviceName) override;
  void StartDocument(const std::string& documentName) override;
  void StartPage() override;
  std::size_t Write(std::string_view bytes) override;
  void EndPage() override;
  void EndDocument() override;
  void Close() noexcept override;
  void Cancel() noexcept override;
  std::optional<JobRef> SubmittedJob() const override { return submittedJob_; }

 private:
  CupsConnection& Connection();

  std::shared_ptr<CupsSession> session_;
  bool open_ = false;
  std::optional<JobRef> submittedJob_;
  std::string queue_;  // the destination's name without its instance: what IPP addresses
  std::string documentName_;
  int jobId_ = 0;
  bool submitted_ = false;
  bool sending_ = false;  // Send-Document started and not finished
};

}  // namespace quorvel::platform::cups
