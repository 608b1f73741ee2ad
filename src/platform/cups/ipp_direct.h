#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/cups/cups_connection.h"
#include "platform/cups/ipp_status.h"
#include "printing/job_tracker.h"
#include "printing/spooler.h"

namespace quorvel::platform::cups {

/// A printer (or a print server's queue) addressed by ipp://HOST[:PORT]/PATH or ipps://...
struct IppAddress {
  std::string uri;
  std::string host;
  int port = 631;
  bool encrypt = false;
  std::string resource;  // the URI's path, where the requests go
};

/// Reads an ipp:// or ipps:// URI; nothing when the text is not one.
std::optional<IppAddress> ParseIppUri(const std::string& uri);

/// The connection to one IPP printer that its spooler and its tracker share; a failed one is
/// replaced on the next call.
class IppSession {
 public:
  CupsConnection& Connection(const IppAddress& address);

 private:
  std::unique_ptr<CupsConnection> connection_;
  std::string uri_;
};

/// One raw job straight to an IPP printer: a single Print-Job carrying the bytes, as
/// application/vnd.cups-raw when the printer is a CUPS queue that knows it (no filters run),
/// application/octet-stream otherwise. The device name is the printer's URI.
class IppSpooler : public Spooler {
 public:
  explicit IppSpooler(std::shared_ptr<IppSession> session) : session_(std::move(session)) {}

  /// False when the name is no ipp:// URI or the printer says there is no such printer there.
  bool Open(const std::string& deviceName) override;
  void StartDocument(const std::string& documentName) override { documentName_ = documentName; }
  void StartPage() override;
  std::size_t Write(std::string_view bytes) override;
  void EndPage() override {}
  void EndDocument() override;
  void Close() noexcept override { address_.reset(); }
  void Cancel() noexcept override;
  std::optional<JobRef> SubmittedJob() const override { return submittedJob_; }

 private:
  CupsConnection& Connection();

  std::shared_ptr<IppSession> session_;
  std::optional<IppAddress> address_;
  std::string format_;
  std::string documentName_;
  bool sending_ = false;
  std::optional<JobRef> submittedJob_;
};

/// Jobs and state of IPP printers named by their URIs, on the session's connection.
class IppJobTracker : public JobTracker {
 public:
  explicit IppJobTracker(std::shared_ptr<IppSession> session) : session_(std::move(session)) {}

  std::vector<JobStatus> QueryJobs(const std::vector<JobRef>& jobs) override;
  /// `exists` is false also when `printer` is no ipp:// URI.
  PrinterStatus QueryPrinter(const std::string& printer) override;

 private:
  std::shared_ptr<IppSession> session_;
};

}  // namespace quorvel::platform::cups
