#pragma once

#include <memory>

#include "platform/cups/cups_session.h"
#include "printing/job_tracker.h"

namespace quorvel::platform::cups {

/// Jobs and queues of the user's print server, asked on the run's shared connection. Printers
/// are named as CupsSpooler names them: by queue, an instance ("name/instance") by its queue.
class CupsJobTracker : public JobTracker {
 public:
  explicit CupsJobTracker(std::shared_ptr<CupsSession> session = CupsSession::Shared())
      : session_(std::move(session)) {}

  std::vector<JobStatus> QueryJobs(const std::vector<JobRef>& jobs) override;
  PrinterStatus QueryPrinter(const std::string& printer) override;
  /// Every queue's state in one CUPS-Get-Printers when more than one is asked for.
  std::vector<PrinterStatus> QueryPrinters(const std::vector<std::string>& printers) override;

 private:
  std::shared_ptr<CupsSession> session_;
};

}  // namespace quorvel::platform::cups
