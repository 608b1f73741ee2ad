#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "printing/job_tracker.h"

namespace quorvel {

/// One raw print job's way into a printer queue, step by step. The adapter owns the platform's
/// handles and chooses the datatype that makes the queue pass the bytes unchanged. Failures are
/// thrown as PlatformError carrying the system's reason.
class Spooler {
 public:
  virtual ~Spooler() = default;

  /// Opens the printer. Returns false when no printer of that name can be opened; throws when
  /// the spooler itself cannot be asked (for example a print server that does not answer).
  virtual bool Open(const std::string& deviceName) = 0;
  virtual void StartDocument(const std::string& documentName) = 0;
  virtual void StartPage() = 0;
  /// Hands the bytes to the job; returns how many were accepted.
  virtual std::size_t Write(std::string_view bytes) = 0;
  virtual void EndPage() = 0;
  /// Ends the document and submits the job; throws when the spooler refuses it.
  virtual void EndDocument() = 0;
  /// Releases the printer. Never throws.
  virtual void Close() noexcept = 0;
  /// Withdraws the job started by StartDocument, after a failure. Never throws.
  virtual void Cancel() noexcept = 0;

  /// The last job EndDocument submitted, as the spooler names it for a JobTracker; nothing when
  /// none was submitted since Open, or when this spooler's jobs cannot be followed.
  virtual std::optional<JobRef> SubmittedJob() const { return std::nullopt; }
};

}  // namespace quorvel
